#include "wmi/object_fetch.h"

#include <exception>
#include <memory>

#include "wmi/query_ops.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

namespace {

constexpr int32_t kNotFound = static_cast<int32_t>(0x80041002u);
constexpr int32_t kNotSupported = static_cast<int32_t>(0x8004100Cu);
constexpr int32_t kProviderNotCapable = static_cast<int32_t>(0x80041024u);
// What no layer expects still ends the fetch, with a text.
constexpr const char* kUnexpected = "unexpected failure";

void Deliver(RequestContext& context, const ListingCallback& done, PropertyListing listing) {
  if (context.Stop().stop_requested()) return;  // a newer choice replaced this one
  context.Post([done, listing = std::move(listing)]() mutable { done(std::move(listing)); });
}

// The instance at this position of the class's enumeration, walked forward-only and returning
// at once, so that a stop acts between two instances and the class is never buffered whole.
// Nothing when the class has fewer instances now. Raises WmiError.
void InstanceAt(Services& services, const RegionalSettings& regional, const std::string& className,
                int position, std::stop_token stop, PropertyListing& listing) {
  auto set = services.InstancesOf(className, kFlagSemisync);
  auto instances = set->NewEnum();
  std::unique_ptr<Object> instance;
  for (int i = 0; i <= position; ++i) {
    if (!instances->Next(instance, stop) || !instance) break;
    if (i == position) AppendObjectProperties(*instance, regional, &listing.names, &listing.values);
  }
  listing.ok = true;
}

// By its path; a provider that can enumerate but not fetch one instance gets the position.
void Instance(Services& services, const RegionalSettings& regional, const std::string& className,
              const std::string& path, int position, std::stop_token stop,
              PropertyListing& listing) {
  if (path.empty()) return InstanceAt(services, regional, className, position, stop, listing);
  std::unique_ptr<Object> instance;
  try {
    instance = services.Get(path, 0);
  } catch (const WmiError& e) {
    if (e.Status() == kNotFound) {
      listing.gone = true;
      listing.errorText = e.what();
      return;
    }
    if (e.Status() != kProviderNotCapable && e.Status() != kNotSupported) throw;
    return InstanceAt(services, regional, className, position, stop, listing);
  }
  AppendObjectProperties(*instance, regional, &listing.names, &listing.values);
  listing.server = TextPropertyOf(*instance, "__SERVER");
  listing.ok = true;
}

// Runs fetch on the request's connection; a failure leaves its text (after prefix) in the
// listing and tells the connection.
template <class Fetch>
PropertyListing Guarded(RequestContext& context, const char* prefix, Fetch fetch) {
  PropertyListing listing;
  try {
    fetch(context.Connection(), listing);
    return listing;
  } catch (const WmiError& e) {
    context.ConnectionFailed(e.Status());
    listing.errorText = std::string(prefix) + e.what();
  } catch (const std::exception& e) {
    context.ConnectionFailed(0);
    listing.errorText = std::string(prefix) + e.what();
  } catch (...) {
    context.ConnectionFailed(0);
    listing.errorText = std::string(prefix) + kUnexpected;
  }
  listing.ok = false;
  listing.names.clear();
  listing.values.clear();
  listing.types.clear();
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
    PropertyListing listing = Guarded(context, "", [&](Services& services, PropertyListing& out) {
      ReadClassProperties(services, className, out.names, &out.types);
      out.ok = true;
    });
    Deliver(context, done, std::move(listing));
  });
}

void StartInstanceFetch(RequestWorker& worker, const ConnectionParams& conn,
                        const RegionalSettings& regional, const std::string& className,
                        const std::string& path, int position, ListingCallback done,
                        bool withClassTypes) {
  worker.Start(conn, [regional, className, path, position, done = std::move(done),
                      withClassTypes](RequestContext& context) {
    PropertyListing listing =
        Guarded(context, "Error: ", [&](Services& services, PropertyListing& out) {
          Instance(services, regional, className, path, position, context.Stop(), out);
          if (out.ok && withClassTypes) out.types = ClassTypes(services, className);
        });
    Deliver(context, done, std::move(listing));
  });
}

}  // namespace brevane::wmi
