// A growable array of floats for the plot controls. Storage grows
// geometrically from 64 elements and never shrinks, so refilling a curve of
// the same size allocates nothing.
#pragma once

class FloatArray {
 public:
  FloatArray() = default;
  ~FloatArray();
  FloatArray(const FloatArray&) = delete;
  FloatArray& operator=(const FloatArray&) = delete;

  // Makes room for n elements: a short capacity becomes max(64, capacity),
  // doubled until it holds n. The length becomes n, or 0 when no storage could
  // be had (the array is then empty) and the result false. With `zero`, the
  // whole capacity is filled with 0.0.
  [[nodiscard]] bool Resize(int n, bool zero);
  // Copies `count` values (none for a null pointer), narrowed to float; the
  // array is left empty when storage cannot be had.
  template <class T>
  void Assign(const T* values, int count) {
    if (!Resize(values ? count : 0, false)) return;
    for (int i = 0; i < length; ++i) data[i] = static_cast<float>(values[i]);
  }
  // Every element below `low` becomes low, then every element not below
  // `high` becomes high (high wins when low > high).
  void Limit(float low, float high);

  int Length() const { return length; }
  float operator[](int i) const { return data[i]; }
  float& operator[](int i) { return data[i]; }

 private:
  float* data = nullptr;  // owned, null until the first resize
  int length = 0;         // elements in use
  int capacity = 0;       // elements allocated
};
