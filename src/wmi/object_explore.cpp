#include "wmi/object_explore.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "util/text.h"
#include "wmi/definition_text.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

namespace {

constexpr int32_t kObjectNotFound = static_cast<int32_t>(0x80041002u);

template <class Answer>
void DeliverAnswer(RequestContext& context, const std::function<void(Answer&&)>& done,
                   Answer answer) {
  if (context.Stop().stop_requested()) return;  // a newer choice replaced this one
  context.Post([done, answer = std::move(answer)]() mutable { done(std::move(answer)); });
}

RelatedObject Describe(Object& object, bool reference) {
  RelatedObject related;
  related.reference = reference;
  related.className = object.ClassName();
  const std::string relPath = TextPropertyOf(object, "__RELPATH");
  related.path = TextPropertyOf(object, "__PATH");
  if (related.path.empty()) related.path = relPath;
  for (const char* name : {"Name", "Caption"}) {
    related.label = TextPropertyOf(object, name);
    if (!related.label.empty()) break;
  }
  if (related.label.empty()) related.label = relPath.empty() ? related.className : relPath;
  return related;
}

// Walks one association query into the answer; objects beyond the limit are only counted.
void Collect(Services& services, const std::string& query, bool reference, std::stop_token stop,
             RelatedAnswer& answer) {
  auto walk = services.ExecQuery(query, "WQL", kFlagSemisync)->NewEnum();
  std::unique_ptr<Object> object;
  while (!stop.stop_requested() && walk->Next(object, stop) && object) {
    if (answer.objects.size() >= kMaxRelatedObjects) {
      ++answer.leftOut;
      continue;
    }
    if (answer.server.empty()) answer.server = TextPropertyOf(*object, "__SERVER");
    answer.objects.push_back(Describe(*object, reference));
  }
}

}  // namespace

void StartClassDefinition(RequestWorker& worker, const ConnectionParams& conn,
                          const std::string& className,
                          std::function<void(DefinitionAnswer&&)> done) {
  worker.Start(conn, [className, done = std::move(done)](RequestContext& context) {
    DefinitionAnswer answer;
    try {
      answer.text = ClassDefinitionText(context.Connection().GetClassDefinition(className));
      answer.ok = true;
    } catch (...) {
      answer.errorText = "Error: " + RequestFailureText(context, std::current_exception());
    }
    DeliverAnswer(context, done, std::move(answer));
  });
}

void StartRelatedObjects(RequestWorker& worker, const ConnectionParams& conn,
                         const std::string& objectPath, std::function<void(RelatedAnswer&&)> done) {
  worker.Start(conn, [objectPath, done = std::move(done)](RequestContext& context) {
    RelatedAnswer answer;
    const std::string target = "{" + objectPath + "}";
    try {
      Collect(context.Connection(), "ASSOCIATORS OF " + target, false, context.Stop(), answer);
      answer.ok = true;
    } catch (const WmiError& e) {
      answer.gone = e.Status() == kObjectNotFound;
      answer.errorText = answer.gone
                             ? e.what()
                             : "Error: " + RequestFailureText(context, std::current_exception());
    } catch (...) {
      answer.errorText = "Error: " + RequestFailureText(context, std::current_exception());
    }
    if (answer.ok) {
      try {
        Collect(context.Connection(), "REFERENCES OF " + target, true, context.Stop(), answer);
      } catch (...) {
        answer.referencesError = RequestFailureText(context, std::current_exception());
      }
    }
    std::stable_sort(answer.objects.begin(), answer.objects.end(),
                     [](const RelatedObject& a, const RelatedObject& b) {
                       if (a.reference != b.reference) return b.reference;
                       const int byClass = util::CompareBytes(util::AsciiLower(a.className),
                                                              util::AsciiLower(b.className));
                       if (byClass != 0) return byClass < 0;
                       return util::CompareBytes(a.label, b.label) < 0;
                     });
    DeliverAnswer(context, done, std::move(answer));
  });
}

std::vector<std::string> RelatedObjectLines(const RelatedAnswer& answer,
                                            std::vector<int>& lineObjects) {
  std::vector<std::string> lines;
  lineObjects.clear();
  const auto& objects = answer.objects;
  for (size_t i = 0; i < objects.size();) {
    size_t end = i;
    while (end < objects.size() && objects[end].reference == objects[i].reference &&
           util::AsciiLower(objects[end].className) == util::AsciiLower(objects[i].className)) {
      ++end;
    }
    lines.push_back(objects[i].className + " (" + std::to_string(end - i) +
                    (objects[i].reference ? ", references)" : ")"));
    lineObjects.push_back(-1);
    for (; i < end; ++i) {
      lines.push_back("    " + objects[i].label);
      lineObjects.push_back(static_cast<int>(i));
    }
  }
  if (answer.leftOut > 0) {
    lines.push_back(std::to_string(answer.leftOut) + " more related objects are not listed.");
    lineObjects.push_back(-1);
  }
  return lines;
}

}  // namespace brevane::wmi
