#pragma once
// Going to a place of the navigation history or to an object a reference names: where the
// place is as seen from the current connection, and which of the steps that show it count as
// visits. Showing an object selects its class first and then its line; neither step is a visit
// of its own while walking back or forward, and a followed object is one visit, not two.
#include <optional>
#include <string>

#include "app/navigation_history.h"
#include "wmi/object_path.h"

namespace brevane::app {

enum class PlaceRoute {
  ThisNamespace,   // shown with the current connection
  OtherNamespace,  // the same computer: connect there, as a connect from the dialog would
  OtherComputer,   // connect only once the user agreed
};

// host and nameSpace: the current connection's. The place's empty host or namespace, "." and
// "localhost" mean the current ones; case, leading backslashes and '/' for '\' do not matter.
PlaceRoute RouteTo(const Place& place, const std::string& host, const std::string& nameSpace);

// The place an object path names, seen from the connection to host and nameSpace. The computer
// connected to writes its own name into the paths it hands out (ownName, its objects'
// __SERVER: "PC01" while the connection went to "localhost" or "pc01.corp.example"); a path
// naming it, or no computer, is on this computer. ownName empty: not known yet.
Place PlaceOfPath(const wmi::ObjectPath& path, const std::string& host,
                  const std::string& nameSpace, const std::string& ownName);

class PlaceArrival {
 public:
  // Showing target begins; record: it is a visit once shown (false while walking the history).
  void Begin(const Place& target, bool record);
  // A step of showing a place is done: shown is what the window shows now. True when shown
  // goes into the history. A step toward the target is no visit; reaching it ends the arrival,
  // and anything else (the user chose another class meanwhile) ends it and is a visit.
  bool Shown(const Place& shown);
  // The target cannot be shown (its class or object is gone): the arrival ends.
  void Abandon() { target_.reset(); }
  const std::optional<Place>& Target() const { return target_; }

 private:
  std::optional<Place> target_;
  bool record_ = true;
};

}  // namespace brevane::app
