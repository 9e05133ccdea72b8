#include "wmi/object_fetch.h"

#include <exception>
#include <memory>

#include "wmi/query_ops.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

namespace {

constexpr int32_t kNotFound = static_cast<int32_t>(0x80041002u);
// What no layer expects still ends the fetch, with a text.
constexpr const char* kUnexpected = "unexpected failure";

void Deliver(RequestContext& context, const ListingCallback& done, PropertyListing listing) {
  if (context.Stop().stop_requested()) return;  // a newer choice replaced this one
  context.Post([done, listing = std::move(listing)]() mutable { done(std::move(listing)); });
}

PropertyListing InstanceByPath(Services& services, const RegionalSettings& regional,
                               const std::string& path) {
  PropertyListing listing;
  try {
    auto instance = services.Get(path, 0);
    AppendObjectProperties(*instance, regional, &listing.names, &listing.values);
    listing.ok = true;
  } catch (const WmiError& e) {
    listing.gone = e.Status() == kNotFound;
    listing.errorText = listing.gone ? e.what() : std::string("Error: ") + e.what();
  }
  return listing;
}

// The values matter more than their types: a class definition that cannot be read leaves the
// types out and the instance as it is.
std::vector<PropertyType> ClassTypes(Services& services, const std::string& className) {
  std::vector<PropertyType> types;
  util::StringList names;
  std::string error;
  if (!ListClassPropertiesOn(services, className, names, error, &types)) types.clear();
  return types;
}

}  // namespace

void StartClassProperties(RequestWorker& worker, const ConnectionParams& conn,
                          const std::string& className, ListingCallback done) {
  worker.Start(conn, [className, done = std::move(done)](RequestContext& context) {
    PropertyListing listing;
    try {
      listing.ok = ListClassPropertiesOn(context.Connection(), className, listing.names,
                                         listing.errorText, &listing.types);
    } catch (const std::exception& e) {  // connecting failed
      context.DropConnection();
      listing.errorText = e.what();
    } catch (...) {
      context.DropConnection();
      listing.errorText = kUnexpected;
    }
    Deliver(context, done, std::move(listing));
  });
}

void StartInstanceFetch(RequestWorker& worker, const ConnectionParams& conn,
                        const RegionalSettings& regional, const std::string& className,
                        const std::string& path, int position, ListingCallback done,
                        bool withClassTypes) {
  worker.Start(conn, [regional, className, path, position, done = std::move(done),
                      withClassTypes](RequestContext& context) {
    PropertyListing listing;
    try {
      Services& services = context.Connection();
      if (!path.empty()) {
        listing = InstanceByPath(services, regional, path);
      } else {
        listing.ok =
            ListInstancePropertiesOn(services, regional, className, position, &listing.names,
                                     &listing.values, listing.errorText, context.Stop());
      }
      if (listing.ok && withClassTypes) listing.types = ClassTypes(services, className);
    } catch (const std::exception& e) {  // connecting failed
      context.DropConnection();
      listing.errorText = std::string("Error: ") + e.what();
    } catch (...) {
      context.DropConnection();
      listing.errorText = std::string("Error: ") + kUnexpected;
    }
    Deliver(context, done, std::move(listing));
  });
}

}  // namespace brevane::wmi
