#include "app/place_arrival.h"

#include "util/text.h"
#include "wmi/request_worker.h"

namespace brevane::app {

namespace {

std::string FoldedNamespace(const std::string& nameSpace) {
  std::string key = util::AsciiLower(util::Trim(nameSpace));
  for (char& c : key) {
    if (c == '/') c = '\\';
  }
  const size_t start = key.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : key.substr(start);
}

bool SameFoldedText(const std::string& a, const std::string& b) {
  return util::AsciiLower(a) == util::AsciiLower(b);
}

}  // namespace

PlaceRoute RouteTo(const Place& place, const std::string& host, const std::string& nameSpace) {
  const std::string target = wmi::HostKey(place.host);
  if (target != "." && target != wmi::HostKey(host)) return PlaceRoute::OtherComputer;
  if (!place.nameSpace.empty() && FoldedNamespace(place.nameSpace) != FoldedNamespace(nameSpace))
    return PlaceRoute::OtherNamespace;
  return PlaceRoute::ThisNamespace;
}

Place PlaceOfPath(const wmi::ObjectPath& path, const std::string& host,
                  const std::string& nameSpace, const std::string& ownName) {
  const bool here = wmi::IsLocalServer(path.server) ||
                    (!ownName.empty() && wmi::HostKey(path.server) == wmi::HostKey(ownName));
  return {here ? host : path.server, path.nameSpace.empty() ? nameSpace : path.nameSpace,
          path.className, path.RelativePath()};
}

void PlaceArrival::Begin(const Place& target, bool record) {
  target_ = target;
  record_ = record;
}

bool PlaceArrival::Shown(const Place& shown) {
  if (!target_) return true;
  if (SamePlace(shown, *target_)) {
    target_.reset();
    return record_;
  }
  // The class of an object on its way: its line is selected next.
  const bool towardTarget = !target_->objectPath.empty() && shown.objectPath.empty() &&
                            SameFoldedText(shown.className, target_->className) &&
                            SameFoldedText(shown.host, target_->host) &&
                            FoldedNamespace(shown.nameSpace) == FoldedNamespace(target_->nameSpace);
  if (towardTarget) return false;
  target_.reset();
  return true;
}

}  // namespace brevane::app
