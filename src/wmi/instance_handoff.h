#pragma once
// One thing the instance loader's worker has for the window, tagged with the generation of the
// request it belongs to, so that the UI side can drop what a newer request made stale.
#include <cstdint>
#include <string>

namespace brevane::wmi {

struct InstanceHandoff {
  enum class Kind {
    Progress,  // show the progress line at the end of the list
    Label,     // an instance's label, followed by the progress line
    Failure,   // the failure text, in place of the progress line
    Done,      // the load has ended: remove the progress line, report
  };
  Kind kind = Kind::Progress;
  uint64_t generation = 0;
  std::string line;
  std::string path;  // a label's instance path, empty when it has none
  bool endedByIdleRequest = false;
  int count = 0;
  std::string message;

  static InstanceHandoff Progress(uint64_t generation) {
    return Make(Kind::Progress, generation, {});
  }
  static InstanceHandoff Label(uint64_t generation, std::string line, std::string path) {
    InstanceHandoff label = Make(Kind::Label, generation, std::move(line));
    label.path = std::move(path);
    return label;
  }
  static InstanceHandoff Failure(uint64_t generation, std::string text) {
    return Make(Kind::Failure, generation, std::move(text));
  }
  static InstanceHandoff Done(uint64_t generation, int count, std::string message,
                              bool endedByIdleRequest = false) {
    InstanceHandoff done = Make(Kind::Done, generation, {});
    done.endedByIdleRequest = endedByIdleRequest;
    done.count = count;
    done.message = std::move(message);
    return done;
  }

 private:
  static InstanceHandoff Make(Kind kind, uint64_t generation, std::string line) {
    InstanceHandoff handoff;
    handoff.kind = kind;
    handoff.generation = generation;
    handoff.line = std::move(line);
    return handoff;
  }
};

}  // namespace brevane::wmi
