-- The VST 3 plug-in in a session: prints the factory presets Ardour finds
-- for it, one "preset NAME" line each, loads "CD render (soft)", prints the
-- controls as Ardour then shows them ("NAME = VALUE") and saves the session. ardour7-lua presets_session.lua; the session's directory is
-- in QV_SESSION, this folder in QV_SCRIPTS.
local NewSession = dofile(os.getenv("QV_SCRIPTS") .. "/session.lua")
local PrintControls = dofile(os.getenv("QV_SCRIPTS") .. "/controls.lua")
local s, processor = NewSession(os.getenv("QV_SESSION"), os.getenv("QV_NAME"), ARDOUR.PluginType.VST3)
local plugin = processor:to_insert():plugin(0)
for _, name in ipairs({"Default", "CD render (hard)", "CD render (soft)", "-"}) do
  local preset = plugin:preset_by_label(name)
  if preset and preset.valid then print("preset " .. name) end
end
assert(plugin:load_preset(plugin:preset_by_label("CD render (soft)")))
ARDOUR.LuaAPI.usleep(500000)
PrintControls(processor)
s:save_state("", false, false, false, false, false)
close_session()
