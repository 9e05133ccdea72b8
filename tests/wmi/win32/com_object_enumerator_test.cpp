#include "wmi/win32/com_object_enumerator.h"

#include <gtest/gtest.h>
#include <wbemidl.h>

#include <memory>
#include <span>

namespace brevane::wmi::win32 {
namespace {

// Counts its references like a WMI object but never frees itself: the test owns it, and a
// count above zero after the walk is a reference the backend kept (a leaked object).
class StubObject final : public IWbemClassObject {
 public:
  ULONG references = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Get(LPCWSTR, LONG, VARIANT*, CIMTYPE*, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Put(LPCWSTR, LONG, VARIANT*, CIMTYPE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EndEnumeration() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR, IWbemQualifierSet**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG, IWbemClassObject**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SpawnInstance(LONG, IWbemClassObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CompareTo(LONG, IWbemClassObject*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR, LONG, IWbemClassObject**,
                                      IWbemClassObject**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR, LONG, IWbemClassObject*,
                                      IWbemClassObject*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NextMethod(LONG, BSTR*, IWbemClassObject**,
                                       IWbemClassObject**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EndMethodEnumeration() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR, BSTR*) override { return E_NOTIMPL; }
};

// Hands the stub objects out as IEnumWbemClassObject::Next does: each with a reference that
// belongs to the caller from then on.
class StubEnumerator final : public IEnumWbemClassObject {
 public:
  explicit StubEnumerator(std::span<StubObject> objects) : objects_(objects) {}
  ULONG references = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Next(LONG, ULONG count, IWbemClassObject** out,
                                 ULONG* returned) override {
    *returned = 0;
    while (*returned < count && next_ < objects_.size()) {
      StubObject& object = objects_[next_++];
      object.AddRef();
      out[(*returned)++] = &object;
    }
    return *returned == count ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Skip(LONG, ULONG) override { return E_NOTIMPL; }

 private:
  std::span<StubObject> objects_;
  size_t next_ = 0;
};

// Every object that Next hands over is released with the object made of it, whether the walk
// ran to its end or was given up with objects still waiting in its batch.
TEST(ComObjectEnumeratorTest, ReleasesEveryObjectItFetched) {
  for (const int taken : {10, 2}) {
    SCOPED_TRACE(taken);
    StubObject objects[10];
    StubEnumerator enumerator(objects);
    {
      auto connection = std::make_shared<WmiConnection>("", "", /*remote=*/false);
      enumerator.AddRef();
      ComObjectEnumerator walk(connection,
                               framework::ComRef<IEnumWbemClassObject>::Take(&enumerator));
      std::unique_ptr<Object> object;
      int count = 0;
      while (count < taken && walk.Next(object)) ++count;
      EXPECT_EQ(count, taken);
    }
    for (const StubObject& object : objects) EXPECT_EQ(object.references, 0u);
    EXPECT_EQ(enumerator.references, 0u);
  }
}

}  // namespace
}  // namespace brevane::wmi::win32
