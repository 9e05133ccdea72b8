// Time of ValueToText per value kind.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "wmi/value_text.h"

using brevane::wmi::Value;

namespace {

Value Decimal() {
  Value v;
  v.type = brevane::wmi::kVtDecimal;
  v.decimal = {0x12345678u, 0x9ABCDEF012345678ull, 10, true};
  return v;
}

Value ByRefDate() {
  Value v;
  v.type = brevane::wmi::kVtVariant | brevane::wmi::kVtByRefBit;
  v.referenced = std::make_shared<const Value>(Value::Date(46363.6041666));
  return v;
}

}  // namespace

int main() {
  brevane::wmi::RegionalSettings regional;
  const std::vector<std::pair<const char*, Value>> kinds = {
      {"empty", Value::Empty()},
      {"i4", Value::Int(-123456789)},
      {"ui8", Value::Int(-1, brevane::wmi::kVtUi8)},
      {"bool", Value::Bool(true)},
      {"r8", Value::Real(3.141592653589793)},
      {"r8 exponent", Value::Real(6.02214076e23)},
      {"r4", Value::Real(2.5f, brevane::wmi::kVtR4)},
      {"currency", Value::Int(123456789, brevane::wmi::kVtCy)},
      {"decimal", Decimal()},
      {"date", Value::Date(46363.6041666)},
      {"date by reference", ByRefDate()},
      {"text 20 B", Value::Text("Win32_Process.Handle")},
      {"text 1 KB", Value::Text(std::string(1024, 'x'))},
      {"array 3 dims", Value::Array(brevane::wmi::kVtI4, {{0, 9}, {1, 5}, {-3, 3}})},
      {"object", Value::Object()},
  };
  constexpr int kIterations = 200000;
  std::printf("%-20s %12s\n", "kind", "ns/value");
  size_t sink = 0;
  for (const auto& [name, value] : kinds) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kIterations; ++i) sink += brevane::wmi::ValueToText(value, regional).size();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double ns = std::chrono::duration<double, std::nano>(elapsed).count() / kIterations;
    std::printf("%-20s %12.1f\n", name, ns);
  }
  std::printf("(checksum %zu)\n", sink);
  return 0;
}
