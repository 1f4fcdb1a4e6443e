// What the plug-in shows while it processes: the spectra of the input and of
// the requantisation error, and the input's level. The plug-in's editor
// implements it; a plug-in without an editor (the DSP binary of a format
// whose UI is a binary of its own) has none and feeds nothing.
//
// Threads: every call comes with the plug-in's lock held; Feed comes on the
// audio thread.
#pragma once

class DitherDisplay {
 public:
  // The rate that the frequency axes are drawn for.
  virtual void SetRate(double rate) = 0;
  // Shows or hides the spectra and the level bar.
  virtual void Show(bool shown) = 0;
  // One block: the channel averages of the input and of the error, and the
  // input's peak over the block, at most 1.
  virtual void Feed(const double* input, const double* error, int frames, double peak) = 0;

 protected:
  ~DitherDisplay() = default;  // owned by the editor, never deleted through this
};
