// Back, forward, and going to an object wherever it is: the classes and objects the tab showed
// are kept in a NavigationHistory; going to a place in another namespace connects there (as a
// connect from the dialog would) and shows it once the class list is in; another computer is
// connected to only after the user agreed, with the user name and password last used there.
#include <windows.h>

#include <utility>

#include "app/win32/class_browser_view.h"
#include "app/win32/command_ids.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/message_box.h"
#include "util/scope_exit.h"
#include "wmi/object_path.h"

namespace brevane::app::win32 {

namespace {

constexpr int kGridTab = 0;

}  // namespace

void ClassBrowserView::GoBack() {
  if (!navigation_.CanGoBack()) return;
  host_.Activate(*this);
  const std::optional<Place> place = navigation_.Back();
  // A computer the user declined to connect to leaves the history where it stood.
  if (place && !GoToPlace(*place, Trip::Back)) navigation_.Forward();
}

void ClassBrowserView::GoForward() {
  if (!navigation_.CanGoForward()) return;
  host_.Activate(*this);
  const std::optional<Place> place = navigation_.Forward();
  if (place && !GoToPlace(*place, Trip::Forward)) navigation_.Back();
}

void ClassBrowserView::Visited(const std::string& objectPath) {
  Place shown{client_.Host, client_.Namespace, currentClass_, objectPath};
  const auto parsed = wmi::ParseObjectPath(objectPath);
  if (parsed.path) {
    // The place the arrival goes to names the object as it was followed; the instance list
    // may write the same object's path otherwise.
    const std::optional<Place>& target = arrival_.Target();
    const auto wanted = target ? wmi::ParseObjectPath(target->objectPath) : wmi::ObjectPathParse{};
    shown.objectPath = wanted.path && wmi::SameObject(*parsed.path, *wanted.path)
                           ? target->objectPath
                           : parsed.path->RelativePath();
  }
  if (arrival_.Shown(shown)) navigation_.Visit(shown);
}

Place ClassBrowserView::PlaceShown() const {
  const int selected = framework::win32::Win32ListBox(instanceList_).SelectedIndex();
  return {client_.Host, client_.Namespace, currentClass_,
          selected < 0 || currentClass_.empty() ? std::string() : instanceLoader_.PathOf(selected)};
}

bool ClassBrowserView::GoToPlace(const Place& place, Trip trip) {
  const bool record = trip == Trip::Follow;
  const PlaceRoute route = RouteTo(place, client_.Host, client_.Namespace);
  if (route == PlaceRoute::OtherComputer && trip != Trip::Return) {
    std::string question = "The object is on the computer " + place.host + ".\n\nConnect to " +
                           place.host + " and show it?";
    const std::string user = host_.UserFor(place.host);
    if (!user.empty()) question += "\n\nThe connection uses the user name " + user + ".";
    if (framework::win32::ShowMessageBox(host_.Frame(), question,
                                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
      host_.SetStatus(2, "Not connected to " + place.host + ".");
      return false;
    }
  }
  if (route != PlaceRoute::ThisNamespace) {
    departure_.reset();
    if (trip != Trip::Return) departure_ = Departure{PlaceShown(), trip};
    ConnectForTrip(place.host, place.nameSpace);
    arrival_.Begin(place, record);
    arrivalAwaitsClasses_ = true;
    if (!classesLoading_) {  // the connection was refused at once
      arrivalAwaitsClasses_ = false;
      departure_.reset();
      ShowArrival();
    }
    return true;
  }
  arrival_.Begin(place, record);
  if (classesLoading_) {
    arrivalAwaitsClasses_ = true;
    return true;
  }
  ShowArrival();
  return true;
}

void ClassBrowserView::ReturnToDeparture() {
  if (!departure_) return;
  const Departure from = *std::exchange(departure_, std::nullopt);
  arrival_.Abandon();
  if (from.trip == Trip::Back) navigation_.Forward();
  if (from.trip == Trip::Forward) navigation_.Back();
  if (from.place.className.empty()) {
    ConnectForTrip(from.place.host, from.place.nameSpace);
    return;
  }
  GoToPlace(from.place, Trip::Return);
}

void ClassBrowserView::ConnectForTrip(const std::string& host, const std::string& nameSpace) {
  tripConnecting_ = true;
  const util::ScopeExit restore([this] { tripConnecting_ = false; });
  host_.ConnectTo(host, nameSpace);
}

void ClassBrowserView::DropTrip() {
  arrival_.Abandon();
  arrivalAwaitsClasses_ = false;
  departure_.reset();
  followedPath_.clear();
}

void ClassBrowserView::ShowArrival() {
  const std::optional<Place> target = arrival_.Target();
  if (!target) return;
  const int index = ListedClassIndex(target->className);
  if (index < 0) {
    arrival_.Abandon();
    host_.SetStatus(2, "The class " + target->className + " is not in the class list.");
    return;
  }
  followedPath_ = target->objectPath;
  classListControl_.Select(index);
  SendMessageW(propertyPane_, TCM_SETCURSEL, kGridTab, 0);
  detailPage_ = kGridTab;
  ShowDetailPage();
  const std::string chosen = classListControl_.ItemText(index);
  // The class itself shows afresh, its instances listed again; an object of the class shown
  // is only selected.
  if (target->objectPath.empty() || chosen != currentClass_) {
    LoadClass(chosen);
  } else {
    SelectFollowedInstance();
  }
}

}  // namespace brevane::app::win32
