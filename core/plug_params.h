// What an editor needs of its plug-in: the parameters, the changes made in
// the editor, and the lock that keeps both apart from the host's threads.
// The plug-in implements it; an editor and its controls hold it as a plain
// pointer and never own it.
#pragma once

#include <string>

#include "core/param.h"
#include "core/plug_lock.h"

class PlugParams {
 public:
  // The parameter at index, or an inert parameter when the index is out of
  // range. Reading it on the user-interface thread while the host may set it
  // on another needs the lock (see LockedDisplayText).
  virtual Param& ParamAt(int index) = 0;
  // [UI thread] A change made in the editor: the plug-in reports it to its
  // host as automation, sets the value and reacts to it, under its lock.
  virtual void SetParamFromEditor(int index, double normalised) = 0;
  // [UI thread] The user takes hold of the control of parameter `index`
  // (a press) and lets it go (the release): the edits between are one
  // gesture for the host. An index that names no parameter is ignored.
  virtual void BeginGesture(int index) = 0;
  virtual void EndGesture(int index) = 0;
  // The plug-in's recursive lock.
  virtual PlugLock& Lock() = 0;

 protected:
  ~PlugParams() = default;
};

// [UI thread] The display text of `param`, read under the plug-in's lock
// because the host may set the parameter from another thread; without a
// plug-in, read as it is.
std::string LockedDisplayText(PlugParams* plug, const Param& param);
