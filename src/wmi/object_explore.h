#pragma once
// The class browser's exploring requests on a worker: a class's definition as the text of the
// definition page, and the objects related to an instance (ASSOCIATORS OF and REFERENCES OF).
// As with the other requests, only the answer of the latest one reaches the UI thread.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "wmi/query_ops.h"
#include "wmi/request_worker.h"

namespace brevane::wmi {

struct DefinitionAnswer {
  bool ok = false;
  std::string text;       // ClassDefinitionText
  std::string errorText;  // "Error: " + the failure's message
};

// One related object: an associator, or an association instance that refers to the object.
struct RelatedObject {
  bool reference = false;  // found by REFERENCES OF
  std::string className;
  std::string path;   // its __PATH when WMI gives one, else its __RELPATH
  std::string label;  // its Name, Caption or relative path
};

constexpr size_t kMaxRelatedObjects = 10000;

struct RelatedAnswer {
  bool ok = false;
  // By class (associators first, then references), then label; at most kMaxRelatedObjects.
  std::vector<RelatedObject> objects;
  size_t leftOut = 0;     // objects beyond the limit, counted but not kept
  bool gone = false;      // WMI no longer finds the object
  std::string errorText;  // the failure of ASSOCIATORS OF, "Error: " + its message
  // REFERENCES OF failed while ASSOCIATORS OF worked (some providers offer only one): its text.
  std::string referencesError;
  // The name the computer gives itself in the objects' paths (their __SERVER), empty when none
  // came: the paths name it even when the connection went to "localhost".
  std::string server;
};

void StartClassDefinition(RequestWorker& worker, const ConnectionParams& conn,
                          const std::string& className,
                          std::function<void(DefinitionAnswer&&)> done);

// objectPath: the instance's relative path.
void StartRelatedObjects(RequestWorker& worker, const ConnectionParams& conn,
                         const std::string& objectPath, std::function<void(RelatedAnswer&&)> done);

// The lines of the related-objects page: a line per class ("Brevane_Service (2)", for the
// association instances "Brevane_DependsOn (2, references)"), each object
// indented below it, and a last line for the objects left out. lineObjects receives, per line,
// the index of its object in answer.objects, or -1 for the other lines.
std::vector<std::string> RelatedObjectLines(const RelatedAnswer& answer,
                                            std::vector<int>& lineObjects);

}  // namespace brevane::wmi
