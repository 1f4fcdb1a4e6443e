#include "tools/qvhost/vst3/vst3_host_objects.h"

#include <cstring>

namespace vst3 {

Tresult MemoryStream::read(void* buffer, int32_t count, int32_t* done) {
  if (done) *done = 0;
  if (failing || count < 0) return kInternalError;
  size_t n = bytes.size() - position;
  if (n > static_cast<size_t>(count)) n = static_cast<size_t>(count);
  if (n > static_cast<size_t>(largestStep)) n = static_cast<size_t>(largestStep);
  if (n > 0) std::memcpy(buffer, bytes.data() + position, n);
  position += n;
  if (done) *done = static_cast<int32_t>(n);
  return kResultOk;
}

Tresult MemoryStream::write(void* buffer, int32_t count, int32_t* done) {
  if (done) *done = 0;
  if (failing || count < 0) return kInternalError;
  size_t n = static_cast<size_t>(count);
  if (n > static_cast<size_t>(largestStep)) n = static_cast<size_t>(largestStep);
  if (bytes.size() < position + n) bytes.resize(position + n);
  std::memcpy(bytes.data() + position, buffer, n);
  position += n;
  if (done) *done = static_cast<int32_t>(n);
  return kResultOk;
}

Tresult MemoryStream::seek(int64_t to, int32_t mode, int64_t* result) {
  if (failing) return kInternalError;
  const int64_t base = mode == kSeekSet   ? 0
                       : mode == kSeekCur ? static_cast<int64_t>(position)
                                          : static_cast<int64_t>(bytes.size());
  if (base + to < 0) return kInvalidArgument;
  position = static_cast<size_t>(base + to);
  if (result) *result = static_cast<int64_t>(position);
  return kResultOk;
}

Tresult MemoryStream::tell(int64_t* where) {
  if (failing || where == nullptr) return kInternalError;
  *where = static_cast<int64_t>(position);
  return kResultOk;
}

Tresult ValueQueue::getPoint(int32_t index, int32_t* offset, ParamValue* value) {
  if (index < 0 || index >= getPointCount() || offset == nullptr || value == nullptr) {
    return kInvalidArgument;
  }
  *offset = points[static_cast<size_t>(index)].first;
  *value = points[static_cast<size_t>(index)].second;
  return kResultOk;
}

Tresult ValueQueue::addPoint(int32_t offset, ParamValue value, int32_t* index) {
  points.emplace_back(offset, value);
  if (index) *index = getPointCount() - 1;
  return kResultOk;
}

IParamValueQueue* ParameterChanges::getParameterData(int32_t index) {
  if (index < 0 || index >= getParameterCount()) return nullptr;
  return &queues[static_cast<size_t>(index)];
}

IParamValueQueue* ParameterChanges::addParameterData(const ParamId* id, int32_t* index) {
  if (id == nullptr) return nullptr;
  for (size_t i = 0; i < queues.size(); ++i) {
    if (queues[i].id == *id) {
      if (index) *index = static_cast<int32_t>(i);
      return &queues[i];
    }
  }
  queues.emplace_back(*id);
  if (index) *index = getParameterCount() - 1;
  return &queues.back();
}

void ParameterChanges::Add(ParamId id, int32_t offset, ParamValue value) {
  addParameterData(&id, nullptr)->addPoint(offset, value, nullptr);
}

Tresult RecordingHandler::beginEdit(ParamId id) {
  edits.push_back({"begin", id, 0.0});
  return kResultOk;
}

Tresult RecordingHandler::performEdit(ParamId id, ParamValue value) {
  edits.push_back({"perform", id, value});
  return kResultOk;
}

Tresult RecordingHandler::endEdit(ParamId id) {
  edits.push_back({"end", id, 0.0});
  return kResultOk;
}

}  // namespace vst3
