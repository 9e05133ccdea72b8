#include "wmi/win32/variant_value.h"

#include <memory>
#include <string>

#include "framework/win32/encoding.h"

namespace brevane::wmi::win32 {

namespace {

// Only one level is legal (a VT_VARIANT reference must not point at another one), but a
// malformed value could point at itself; a small bound keeps that from recursing forever.
constexpr int kMaxReferenceDepth = 4;

std::string BstrText(BSTR text) {
  if (!text) return {};
  // The length prefix, not the first NUL, ends a BSTR; unpaired surrogates become U+FFFD.
  return brevane::framework::win32::WideToUtf8(std::wstring_view(text, SysStringLen(text)));
}

std::vector<ArrayBound> ArrayBounds(const SAFEARRAY* array) {
  std::vector<ArrayBound> bounds;
  if (!array) return bounds;
  auto* mutableArray = const_cast<SAFEARRAY*>(array);
  const UINT dims = SafeArrayGetDim(mutableArray);
  if (dims != array->cDims) return bounds;
  bounds.reserve(dims);
  for (UINT d = 1; d <= dims; ++d) {
    LONG lower = 0;
    if (FAILED(SafeArrayGetLBound(mutableArray, d, &lower))) return {};
    // rgsabound lists the dimensions last first. The upper bound is computed from the count,
    // in 64 bits, because lower + count - 1 can leave the range of a LONG.
    const ULONG count = array->rgsabound[dims - d].cElements;
    bounds.push_back({lower, static_cast<int64_t>(lower) + static_cast<int64_t>(count) - 1});
  }
  return bounds;
}

DecimalValue ToDecimal(const DECIMAL& d) {
  DecimalValue out;
  out.hi32 = d.Hi32;
  out.lo64 = d.Lo64;
  out.scale = d.scale;
  out.negative = (d.sign & DECIMAL_NEG) != 0;
  return out;
}

// Reads *pointer when the pointer is set; a by-reference value with a null pointer keeps only
// its tag.
template <typename T, typename Store>
void ReadThrough(const T* pointer, Store store) {
  if (pointer) store(*pointer);
}

Value Convert(const VARIANT& v, int depth) {
  Value out;
  out.type = v.vt;
  const VARTYPE base = v.vt & VT_TYPEMASK;
  const bool byRef = (v.vt & VT_BYREF) != 0;

  if (v.vt & VT_ARRAY) {
    out.bounds = ArrayBounds(byRef ? (v.pparray ? *v.pparray : nullptr) : v.parray);
    return out;
  }

  auto setInt = [&out](int64_t i) { out.integer = i; };
  auto setReal = [&out](double d) { out.real = d; };

  if (byRef) {
    switch (base) {
      case VT_I1:
        ReadThrough(v.pcVal, [&](CHAR c) { setInt(static_cast<signed char>(c)); });
        break;
      case VT_UI1:
        ReadThrough(v.pbVal, [&](BYTE b) { setInt(b); });
        break;
      case VT_I2:
        ReadThrough(v.piVal, [&](SHORT i) { setInt(i); });
        break;
      case VT_UI2:
        ReadThrough(v.puiVal, [&](USHORT i) { setInt(i); });
        break;
      case VT_I4:
        ReadThrough(v.plVal, [&](LONG i) { setInt(i); });
        break;
      case VT_UI4:
        ReadThrough(v.pulVal, [&](ULONG i) { setInt(i); });
        break;
      case VT_INT:
        ReadThrough(v.pintVal, [&](INT i) { setInt(i); });
        break;
      case VT_UINT:
        ReadThrough(v.puintVal, [&](UINT i) { setInt(i); });
        break;
      case VT_I8:
        ReadThrough(v.pllVal, [&](LONGLONG i) { setInt(i); });
        break;
      case VT_UI8:
        ReadThrough(v.pullVal, [&](ULONGLONG i) { setInt(static_cast<int64_t>(i)); });
        break;
      case VT_R4:
        ReadThrough(v.pfltVal, [&](FLOAT f) { setReal(f); });
        break;
      case VT_R8:
        ReadThrough(v.pdblVal, [&](DOUBLE d) { setReal(d); });
        break;
      case VT_DATE:
        ReadThrough(v.pdate, [&](DATE d) { setReal(d); });
        break;
      case VT_CY:
        ReadThrough(v.pcyVal, [&](const CY& c) { setInt(c.int64); });
        break;
      case VT_BOOL:
        ReadThrough(v.pboolVal, [&](VARIANT_BOOL b) { setInt(b ? -1 : 0); });
        break;
      case VT_ERROR:
        ReadThrough(v.pscode, [&](SCODE s) { setInt(s); });
        break;
      case VT_BSTR:
        ReadThrough(v.pbstrVal, [&](BSTR s) { out.text = BstrText(s); });
        break;
      case VT_DECIMAL:
        ReadThrough(v.pdecVal, [&](const DECIMAL& d) { out.decimal = ToDecimal(d); });
        break;
      case VT_VARIANT:
        if (v.pvarVal && depth < kMaxReferenceDepth) {
          out.referenced = std::make_shared<const Value>(Convert(*v.pvarVal, depth + 1));
        }
        break;
      default:
        break;  // objects and unknown kinds: the tag says all we keep
    }
    return out;
  }

  switch (base) {
    case VT_I1:
      setInt(static_cast<signed char>(v.cVal));
      break;
    case VT_UI1:
      setInt(v.bVal);
      break;
    case VT_I2:
      setInt(v.iVal);
      break;
    case VT_UI2:
      setInt(v.uiVal);
      break;
    case VT_I4:
      setInt(v.lVal);
      break;
    case VT_UI4:
      setInt(v.ulVal);
      break;
    case VT_INT:
      setInt(v.intVal);
      break;
    case VT_UINT:
      setInt(v.uintVal);
      break;
    case VT_I8:
      setInt(v.llVal);
      break;
    case VT_UI8:
      setInt(static_cast<int64_t>(v.ullVal));
      break;
    case VT_R4:
      setReal(v.fltVal);
      break;
    case VT_R8:
      setReal(v.dblVal);
      break;
    case VT_DATE:
      setReal(v.date);
      break;
    case VT_CY:
      setInt(v.cyVal.int64);
      break;
    case VT_BOOL:
      setInt(v.boolVal ? -1 : 0);
      break;
    case VT_ERROR:
      setInt(v.scode);
      break;
    case VT_BSTR:
      out.text = BstrText(v.bstrVal);
      break;
    case VT_DECIMAL:
      out.decimal = ToDecimal(v.decVal);
      break;
    default:
      break;  // empty, null, objects and unknown kinds: the tag says all we keep
  }
  return out;
}

}  // namespace

Value VariantToValue(const VARIANT& variant, long cimType) {
  Value value = Convert(variant, 0);
  // CIMTYPE codes, array flag included, fit 16 bits; anything wider is not one of them.
  if ((cimType & ~0xFFFFL) == 0) value.cimType = static_cast<uint16_t>(cimType);
  return value;
}

}  // namespace brevane::wmi::win32
