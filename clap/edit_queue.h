// The editor's gestures and edits on their way to a CLAP host, which takes
// them only in a process or flush call: kept in order until the host's
// output list accepts each one, so that a refused event is sent whole at the
// next call and every gesture the host hears of begins once and ends once.
//
// Threads: the editor's thread adds, the audio (or flush) thread sends; the
// owner holds the plug-in's lock around both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace clap {

struct QueuedEdit {
  enum Kind : uint8_t { kBegin, kValue, kEnd };
  Kind kind;
  uint32_t param;
  double value;  // kValue: the parameter's value in its own units
};

class EditQueue {
 public:
  // Room for the events of `params` parameters, reserved now.
  explicit EditQueue(uint32_t params);

  // A gesture begins. One the host has not yet heard end continues instead:
  // the host hears one gesture where the user made two.
  void Begin(uint32_t param);
  // A value within the open gesture; a value of the parameter still waiting
  // is replaced, since the host needs only the last.
  void Value(uint32_t param, double value);
  void End(uint32_t param);

  // Hands the events to `push`, oldest first, until it refuses one (returns
  // false); that one and those after it stay for the next call.
  template <typename Push>
  void Send(Push push) {
    size_t sent = 0;
    while (sent < events.size() && push(events[sent])) ++sent;
    events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(sent));
  }

  bool Empty() const { return events.empty(); }

 private:
  // The newest event of `param`, or null.
  QueuedEdit* Newest(uint32_t param);

  std::vector<QueuedEdit> events;
};

}  // namespace clap
