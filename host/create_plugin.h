// The factory a plug-in defines and a format adapter's entry calls: one new
// instance of the plug-in, owned by the caller, or null when it cannot be made.
#pragma once

class PlugBase;

PlugBase* CreatePlugin();
