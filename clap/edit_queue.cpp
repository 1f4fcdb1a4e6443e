#include "clap/edit_queue.h"

namespace clap {

EditQueue::EditQueue(uint32_t params) { events.reserve(3 * static_cast<size_t>(params) + 3); }

QueuedEdit* EditQueue::Newest(uint32_t param) {
  for (size_t i = events.size(); i-- > 0;) {
    if (events[i].param == param) return &events[i];
  }
  return nullptr;
}

void EditQueue::Begin(uint32_t param) {
  QueuedEdit* newest = Newest(param);
  if (newest != nullptr && newest->kind == QueuedEdit::kEnd) {
    events.erase(events.begin() + (newest - events.data()));
    return;
  }
  events.push_back(QueuedEdit{QueuedEdit::kBegin, param, 0.0});
}

void EditQueue::Value(uint32_t param, double value) {
  QueuedEdit* newest = Newest(param);
  if (newest != nullptr && newest->kind == QueuedEdit::kValue) {
    newest->value = value;
    return;
  }
  events.push_back(QueuedEdit{QueuedEdit::kValue, param, value});
}

void EditQueue::End(uint32_t param) { events.push_back(QueuedEdit{QueuedEdit::kEnd, param, 0.0}); }

}  // namespace clap
