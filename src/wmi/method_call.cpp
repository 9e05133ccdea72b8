#include "wmi/method_call.h"

#include <exception>
#include <memory>

#include "util/text.h"
#include "wmi/value_map.h"
#include "wmi/value_text.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

namespace {

constexpr int32_t kCallTargetNotFound = static_cast<int32_t>(0x80041002u);

std::vector<Property> ReadOutputs(Object& out) {
  std::vector<Property> outputs;
  auto properties = out.Properties();
  Property property;
  while (outputs.size() < kMaxMethodOutputs && properties->Next(property)) {
    if (property.name.rfind("__", 0) == 0) continue;  // system properties of the object
    outputs.push_back(std::move(property));
  }
  return outputs;
}

void RunCall(RequestContext& context, const MethodCallRequest& request, MethodCallAnswer& answer) {
  try {
    Services& services = context.Connection();
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<Object> out =
        services.ExecMethod(request.objectPath, request.method, request.arguments);
    answer.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    if (out) {
      answer.outputs = ReadOutputs(*out);
    } else {
      answer.returnedNothing = true;
    }
    answer.ok = true;
  } catch (const WmiError& e) {
    // A plain answer about the call: the instance is gone.
    answer.gone =
        e.Status() == kCallTargetNotFound && request.objectPath.find('=') != std::string::npos;
    answer.errorText =
        answer.gone ? e.what() : RequestFailureText(context, std::current_exception());
  } catch (...) {
    answer.errorText = RequestFailureText(context, std::current_exception());
  }
}

const ParameterDefinition* FindOutput(const MethodDefinition& method, const std::string& name) {
  for (const ParameterDefinition& p : method.outputs) {
    if (util::AsciiLower(p.name) == util::AsciiLower(name)) return &p;
  }
  return nullptr;
}

// The value's text with its meaning when the qualifiers map it.
std::string Meaning(const std::string& text, const std::vector<Qualifier>& qualifiers) {
  const Qualifier* valueMap = FindQualifier(qualifiers, "ValueMap");
  const Qualifier* values = FindQualifier(qualifiers, "Values");
  if (!values) return text;
  return ValueMeaning(text, valueMap ? valueMap->items : std::vector<std::string>{}, values->items);
}

}  // namespace

void StartMethodList(RequestWorker& worker, const ConnectionParams& conn,
                     const std::string& className, std::function<void(MethodListAnswer&&)> done) {
  worker.Start(conn, [className, done = std::move(done)](RequestContext& context) {
    MethodListAnswer answer;
    try {
      answer.definition = context.Connection().GetClassDefinition(className);
      answer.ok = true;
    } catch (...) {
      answer.errorText = RequestFailureText(context, std::current_exception());
    }
    if (context.Stop().stop_requested()) return;
    context.Post([done, answer = std::move(answer)]() mutable { done(std::move(answer)); });
  });
}

void StartMethodCall(RequestWorker& worker, const ConnectionParams& conn, MethodCallRequest request,
                     std::function<void(MethodCallAnswer&&)> done) {
  worker.Start(
      conn, [request = std::move(request), done = std::move(done)](RequestContext& context) {
        MethodCallAnswer answer;
        RunCall(context, request, answer);
        if (context.Stop().stop_requested()) return;  // replaced or cancelled: nobody waits for it
        context.Post([done, answer = std::move(answer)]() mutable { done(std::move(answer)); });
      });
}

std::string MethodResultText(const MethodDefinition& method, const MethodCallAnswer& answer,
                             const RegionalSettings& regional) {
  if (!answer.ok) return answer.errorText;
  if (answer.returnedNothing || answer.outputs.empty()) return "The method returned no result.";
  std::string text;
  for (const Property& output : answer.outputs) {
    std::string value = ValueToText(output.value, regional);
    const bool isNull = output.value.type == kVtNull || output.value.type == kVtEmpty;
    if (isNull) {
      value = "NULL";
    } else if ((output.value.type & kVtArrayBit) == 0) {
      // ReturnValue's meanings are the method's own qualifiers (else the ReturnValue
      // parameter's); an out-parameter has its own.
      const ParameterDefinition* definition = FindOutput(method, output.name);
      const bool isReturn = util::AsciiLower(output.name) == "returnvalue";
      if (isReturn && FindQualifier(method.qualifiers, "Values")) {
        value = Meaning(value, method.qualifiers);
      } else if (definition) {
        value = Meaning(value, definition->qualifiers);
      }
    }
    if (!text.empty()) text += "\r\n";
    text += output.name + ": " + value;
  }
  return text;
}

}  // namespace brevane::wmi
