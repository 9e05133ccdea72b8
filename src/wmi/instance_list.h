#pragma once
// The list that receives instance labels (the instance list box). Touched on the UI thread only.
#include <string>

namespace brevane::wmi {

class InstanceList {
 public:
  virtual ~InstanceList() = default;
  virtual int Count() const = 0;
  virtual void Append(const std::string& line) = 0;
  virtual void ReplaceLast(const std::string& line) = 0;
  virtual void DeleteLast() = 0;
  virtual void Clear() = 0;
  // Brackets a batch of changes so that the control redraws once.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
};

}  // namespace brevane::wmi
