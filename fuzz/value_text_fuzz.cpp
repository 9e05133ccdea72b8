// ValueToText over value trees decoded from the input: any type tag (array and by-reference
// bits included), nested and self-referencing values, array bounds at the 32- and 64-bit
// limits and up to 64 dimensions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "wmi/value_text.h"

namespace {

using brevane::wmi::ArrayBound;
using brevane::wmi::Value;

constexpr int kMaxDepth = 12;
constexpr size_t kMaxDimensions = 64;
constexpr size_t kMaxText = 512;

int64_t ConsumeBound(FuzzedDataProvider& in) {
  static constexpr int64_t kEdges[] = {
      0,
      -1,
      1,
      std::numeric_limits<int32_t>::min(),
      std::numeric_limits<int32_t>::max(),
      int64_t{std::numeric_limits<int32_t>::max()} + 1,
      int64_t{std::numeric_limits<uint32_t>::max()},
      std::numeric_limits<int64_t>::min(),
      std::numeric_limits<int64_t>::max(),
  };
  if (in.ConsumeBool()) return in.PickValueInArray(kEdges);
  return in.ConsumeIntegral<int64_t>();
}

uint16_t ConsumeType(FuzzedDataProvider& in) {
  static constexpr uint16_t kBits[] = {0, brevane::wmi::kVtArrayBit, brevane::wmi::kVtByRefBit,
                                       brevane::wmi::kVtArrayBit | brevane::wmi::kVtByRefBit};
  if (in.ConsumeBool()) return in.ConsumeIntegral<uint16_t>();
  return static_cast<uint16_t>(in.ConsumeIntegralInRange<uint16_t>(0, 36) |
                               in.PickValueInArray(kBits));
}

std::shared_ptr<Value> ConsumeValue(FuzzedDataProvider& in, int depth) {
  auto value = std::make_shared<Value>();
  value->type = ConsumeType(in);
  value->integer = in.ConsumeIntegral<int64_t>();
  value->real = in.ConsumeBool() ? in.ConsumeFloatingPoint<double>()
                                 : in.ConsumeIntegralInRange<int32_t>(-700000, 3000000) +
                                       in.ConsumeProbability<double>();
  value->decimal.hi32 = in.ConsumeIntegral<uint32_t>();
  value->decimal.lo64 = in.ConsumeIntegral<uint64_t>();
  value->decimal.scale = in.ConsumeIntegralInRange<uint8_t>(0, 40);
  value->decimal.negative = in.ConsumeBool();
  const size_t dimensions = in.ConsumeIntegralInRange<size_t>(0, kMaxDimensions);
  for (size_t i = 0; i < dimensions && in.remaining_bytes() > 0; ++i) {
    value->bounds.push_back(ArrayBound{ConsumeBound(in), ConsumeBound(in)});
  }
  value->text = in.ConsumeRandomLengthString(kMaxText);
  if (depth < kMaxDepth && in.ConsumeBool()) value->referenced = ConsumeValue(in, depth + 1);
  // Last, so that inputs written before values carried a CIM type decode as they did.
  value->cimType = in.ConsumeIntegral<uint16_t>();
  return value;
}

void CheckText(const Value& value, const std::string& text) {
  // The longest text any value of the tree holds, 64 dimensions of two 20-digit bounds, or a
  // date and time from pictures of 32 characters.
  FUZZ_CHECK(text.size() <= kMaxText + kMaxDimensions * 44 + 2048);
  if (value.type == brevane::wmi::kVtEmpty || value.type == brevane::wmi::kVtNull) {
    FUZZ_CHECK(text.empty());
  }
  if (value.type & brevane::wmi::kVtArrayBit) FUZZ_CHECK(text.starts_with("array["));
  if (value.type == brevane::wmi::kVtI4) {
    if (value.cimType == brevane::wmi::kCimUnknown || value.cimType == brevane::wmi::kCimSint32) {
      FUZZ_CHECK(text == std::to_string(int32_t(value.integer)));
    } else if (value.cimType == brevane::wmi::kCimUint32) {
      FUZZ_CHECK(text == std::to_string(uint32_t(value.integer)));
    }
  }
  if (value.type == brevane::wmi::kVtBstr) FUZZ_CHECK(text == value.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  brevane::wmi::RegionalSettings regional;
  if (in.ConsumeBool()) {
    regional.decimalSeparator = in.ConsumeRandomLengthString(4);
    regional.shortDatePicture = in.ConsumeRandomLengthString(32);
    regional.longTimePicture = in.ConsumeRandomLengthString(32);
  }
  const bool selfReference = in.ConsumeBool();
  const std::shared_ptr<Value> root = ConsumeValue(in, 0);

  // A by-reference value pointing back at itself: COM cannot build one, a broken provider
  // or a bad conversion could.
  std::shared_ptr<Value> loopEnd;
  if (selfReference) {
    loopEnd = root;
    while (loopEnd->referenced) {
      loopEnd = std::const_pointer_cast<Value>(loopEnd->referenced);
    }
    loopEnd->referenced = root;
  }

  const std::string text = brevane::wmi::ValueToText(*root, regional);
  CheckText(*root, text);
  FUZZ_CHECK(brevane::wmi::ValueToText(*root, regional) == text);

  if (loopEnd) loopEnd->referenced.reset();  // break the cycle so that the tree is freed
  return 0;
}
