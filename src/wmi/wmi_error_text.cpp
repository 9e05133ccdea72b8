#include "wmi/wmi_error_text.h"

#include <algorithm>
#include <utility>

#include "util/text.h"

namespace brevane::wmi {

namespace {

// Texts as Windows words them (without the closing period), so that a failure reads the same
// whether the platform or this table supplied it.
constexpr std::pair<uint32_t, std::string_view> kStatusTexts[] = {
    {0x80041001u, "Generic failure"},
    {0x80041002u, "Not found"},
    {0x80041003u, "Access denied"},
    {0x80041004u, "Provider failure"},
    {0x80041005u, "Type mismatch"},
    {0x80041006u, "Out of memory"},
    {0x80041007u, "Invalid context"},
    {0x80041008u, "Invalid parameter"},
    {0x80041009u, "Not available"},
    {0x8004100Au, "Critical error"},
    {0x8004100Bu, "Invalid stream"},
    {0x8004100Cu, "Not supported"},
    {0x8004100Du, "Invalid superclass"},
    {0x8004100Eu, "Invalid namespace"},
    {0x8004100Fu, "Invalid object"},
    {0x80041010u, "Invalid class"},
    {0x80041011u, "Provider not found"},
    {0x80041012u, "Invalid provider registration"},
    {0x80041013u, "Provider load failure"},
    {0x80041014u, "Initialization failure"},
    {0x80041015u, "Transport failure"},
    {0x80041016u, "Invalid operation"},
    {0x80041017u, "Invalid query"},
    {0x80041018u, "Invalid query type"},
    {0x80041019u, "Already exists"},
    {0x8004101Du, "Unexpected error"},
    {0x8004101Eu, "Illegal operation"},
    {0x80041021u, "Invalid syntax"},
    {0x80041023u, "Read only"},
    {0x80041024u, "Provider not capable"},
    {0x80041028u, "Illegal null"},
    {0x8004102Bu, "Value out of range"},
    {0x8004102Eu, "Invalid method"},
    {0x8004102Fu, "Invalid method parameters"},
    {0x80041031u, "Invalid property"},
    {0x80041032u, "Call cancelled"},
    {0x80041033u, "Shutting down"},
    {0x8004103Au, "Invalid object path"},
    {0x80041045u, "Server too busy"},
    {0x80041058u, "Unparsable query"},
    {0x80041064u, "User credentials cannot be used for local connections"},
    {0x80041069u, "Timed out"},
    {0x8004106Cu, "Quota violation"},
    {0x80004001u, "Not implemented"},
    {0x80004002u, "No such interface supported"},
    {0x80004005u, "Unspecified error"},
    {0x8001010Eu, "The application called an interface that was marshalled for a different thread"},
    {0x800401F0u, "CoInitialize has not been called"},
    {0x80040154u, "Class not registered"},
    {0x80070005u, "Access is denied"},
    {0x8007000Eu, "Not enough memory resources are available to complete this operation"},
    {0x80070057u, "The parameter is incorrect"},
    {0x8007052Eu, "The user name or password is incorrect"},
    {0x800706BAu, "The RPC server is unavailable"},
    {0x800706BEu, "The remote procedure call failed"},
    {0x800706D9u, "There are no more endpoints available from the endpoint mapper"},
    {0x80070776u, "The object exporter specified was not found"},
    {0x80080005u, "Server execution failed"},
};

bool IsTrailingJunk(char c) {
  return static_cast<unsigned char>(c) <= 32 || c == '.';
}

}  // namespace

std::string CleanErrorDescription(std::string_view text) {
  std::string out = util::TrimLeft(text);
  while (!out.empty() && IsTrailingJunk(out.back())) out.pop_back();
  return out;
}

bool IsPlaceholderErrorText(std::string_view text) {
  const std::string cleaned = CleanErrorDescription(text);
  constexpr std::string_view kPrefix = "error code: 0x";
  if (cleaned.size() <= kPrefix.size()) return false;
  if (util::AsciiLower(std::string_view(cleaned).substr(0, kPrefix.size())) != kPrefix)
    return false;
  return std::all_of(
      cleaned.begin() + static_cast<std::ptrdiff_t>(kPrefix.size()), cleaned.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
      });
}

std::string_view KnownStatusText(int32_t status) {
  const auto code = static_cast<uint32_t>(status);
  for (const auto& [known, text] : kStatusTexts) {
    if (known == code) return text;
  }
  return {};
}

std::string OleErrorText(int32_t status) {
  return util::Format("OLE error %.8X", static_cast<unsigned int>(static_cast<uint32_t>(status)));
}

std::string ComposeFailureText(int32_t status, std::string_view description,
                               std::string_view codeText) {
  for (const std::string_view candidate : {description, codeText}) {
    std::string cleaned = CleanErrorDescription(candidate);
    if (!cleaned.empty() && !IsPlaceholderErrorText(cleaned)) return cleaned;
  }
  if (const std::string_view known = KnownStatusText(status); !known.empty()) {
    return std::string(known);
  }
  return OleErrorText(status);
}

}  // namespace brevane::wmi
