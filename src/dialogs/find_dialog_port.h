#pragma once
// Lives with the dialog that implements it, so that the dialog needs nothing from the window
// that drives it.
#include <string>

namespace brevane::dialogs {

// The find dialog (TFindDialog) as the search sees it. The search sets the text and options
// before Execute and reads them back after a confirmed Execute.
class FindDialogPort {
 public:
  virtual ~FindDialogPort() = default;
  virtual void SetSearchText(const std::string& text) = 0;  // FindText's edit text
  virtual void SetMatchCase(bool checked) = 0;              // MatchCaseChk
  virtual void SetWholeWord(bool checked) = 0;              // MatchWholeWordChk
  // Shows the dialog modally; true when the user confirmed with OK (the dialog has then put
  // the text into its history).
  virtual bool Execute() = 0;
  virtual std::string SearchText() const = 0;
  virtual bool MatchCase() const = 0;
  virtual bool WholeWord() const = 0;
};

}  // namespace brevane::dialogs
