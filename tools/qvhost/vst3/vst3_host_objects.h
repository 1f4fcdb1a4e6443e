// What a VST 3 host hands a plug-in: a memory stream (which can be told to
// fail, or to move a few bytes at a time), parameter changes with their
// queues, and a component handler that records the edits it is told of.
#pragma once

#include <string>
#include <vector>

#include "vst3/vst3_interfaces.h"

namespace vst3 {

// These objects live on the host's stack, longer than any call that gets
// them: reference counting does nothing.
template <typename Interface>
class StackObject : public Interface {
 public:
  Tresult QV_VST3_CALL queryInterface(const char*, void** object) override {
    if (object) *object = nullptr;
    return kNoInterface;
  }
  uint32_t QV_VST3_CALL addRef() override { return 1; }
  uint32_t QV_VST3_CALL release() override { return 1; }
};

class MemoryStream final : public StackObject<IBStream> {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<unsigned char> bytes) : bytes(std::move(bytes)) {}

  Tresult QV_VST3_CALL read(void* buffer, int32_t count, int32_t* done) override;
  Tresult QV_VST3_CALL write(void* buffer, int32_t count, int32_t* done) override;
  Tresult QV_VST3_CALL seek(int64_t position, int32_t mode, int64_t* result) override;
  Tresult QV_VST3_CALL tell(int64_t* position) override;

  std::vector<unsigned char> bytes;
  size_t position = 0;
  bool failing = false;           // every call fails
  int32_t largestStep = 1 << 30;  // the most one read or write moves
};

class ValueQueue final : public StackObject<IParamValueQueue> {
 public:
  explicit ValueQueue(ParamId id) : id(id) {}
  ParamId QV_VST3_CALL getParameterId() override { return id; }
  int32_t QV_VST3_CALL getPointCount() override { return static_cast<int32_t>(points.size()); }
  Tresult QV_VST3_CALL getPoint(int32_t index, int32_t* offset, ParamValue* value) override;
  Tresult QV_VST3_CALL addPoint(int32_t offset, ParamValue value, int32_t* index) override;

  ParamId id;
  std::vector<std::pair<int32_t, ParamValue>> points;
};

class ParameterChanges final : public StackObject<IParameterChanges> {
 public:
  int32_t QV_VST3_CALL getParameterCount() override { return static_cast<int32_t>(queues.size()); }
  IParamValueQueue* QV_VST3_CALL getParameterData(int32_t index) override;
  IParamValueQueue* QV_VST3_CALL addParameterData(const ParamId* id, int32_t* index) override;
  // A point for a parameter, in a queue of its own per id.
  void Add(ParamId id, int32_t offset, ParamValue value);

  std::vector<ValueQueue> queues;
};

struct Edit {
  std::string what;  // "begin", "perform", "end" or "restart" (its flags the value)
  ParamId id;
  ParamValue value;
};

class RecordingHandler final : public StackObject<IComponentHandler> {
 public:
  Tresult QV_VST3_CALL beginEdit(ParamId id) override;
  Tresult QV_VST3_CALL performEdit(ParamId id, ParamValue value) override;
  Tresult QV_VST3_CALL endEdit(ParamId id) override;
  Tresult QV_VST3_CALL restartComponent(int32_t flags) override {
    edits.push_back({"restart", 0, static_cast<ParamValue>(flags)});
    return kResultOk;
  }

  std::vector<Edit> edits;
};

}  // namespace vst3
