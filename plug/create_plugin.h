// The factories a plug-in defines and a format adapter's entry calls; a
// plug-in also defines its identity (PluginIdentity, plug/plug_identity.h).
//
// The plug-in and its editor are made apart, so that a binary that only
// processes (an LV2 DSP binary) links no editor, and a binary that only
// shows the editor (an LV2 UI binary) builds it with its own code for an
// instance that another binary made.
#pragma once

class PlugBase;

// One new instance of the plug-in, owned by the caller, without an editor;
// null when it cannot be made.
PlugBase* CreatePlugin();

// [UI thread] Builds the plug-in's editor, with this binary's window layer,
// and attaches it to `plugin` (made by CreatePlugin) in place of any it had.
// False, and the plug-in unchanged, when it cannot be made.
[[nodiscard]] bool CreatePluginEditor(PlugBase& plugin);
