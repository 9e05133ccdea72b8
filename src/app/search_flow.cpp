#include "app/search_flow.h"

#include "util/list_search.h"

namespace brevane::app {

std::string StartOverQuestion(const std::string& searchText) {
  return NotFoundMessage(searchText) + "\r\rStart search over?";
}

std::string NotFoundMessage(const std::string& searchText) {
  return "Could not find \"" + searchText + "\"";
}

SearchFlow::SearchFlow(dialogs::FindDialogPort& dialog, SearchWindowPort& window,
                       SearchMessagePort& messages)
    : dialog_(dialog), window_(window), messages_(messages) {}

void SearchFlow::Search1Click() {
  dialog_.SetSearchText(searchText_);
  dialog_.SetMatchCase(matchCase_);
  dialog_.SetWholeWord(wholeWord_);
  if (!dialog_.Execute()) return;
  searchText_ = dialog_.SearchText();
  matchCase_ = dialog_.MatchCase();
  wholeWord_ = dialog_.WholeWord();
  SearchActiveList(true);
}

void SearchFlow::Findagain1Click() {
  if (searchText_.empty()) {
    Search1Click();
  } else {
    SearchActiveList(false);
  }
}

int SearchFlow::FindIn(SearchTab tab, bool fromStart) {
  if (tab == SearchTab::Query) {
    return util::FindInListView(window_.QueryList(), searchText_, fromStart, matchCase_, wholeWord_,
                                true);
  }
  return util::FindInListBox(window_.ClassList(), searchText_, fromStart, matchCase_, wholeWord_,
                             true);
}

void SearchFlow::SearchActiveList(bool fromStart) {
  // The tab is taken once: the question in between is modal and cannot change it anyway.
  const SearchTab tab = window_.ActiveTab();
  int found = FindIn(tab, fromStart);
  if (found < 0 && !fromStart) {
    if (!messages_.AskYesNo(StartOverQuestion(searchText_))) return;
    found = FindIn(tab, true);
  }
  if (found < 0) {
    messages_.ShowWarning(NotFoundMessage(searchText_));
    return;
  }
  if (tab == SearchTab::Query) {
    window_.FocusQueryList();
  } else {
    // The class is only selected; its properties and instances load when the user clicks it.
    window_.FocusClassList();
    window_.EmptyClassPanes();
  }
}

}  // namespace brevane::app
