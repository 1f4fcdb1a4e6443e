-- A session with one stereo track holding the LV2 plug-in, on the dummy
-- backend: prints each control as "NAME = VALUE", sets "target bits" to 20
-- while the session runs, prints them again and saves the session.
-- ardour7-lua lv2_session.lua; the session's directory is in QV_SESSION,
-- this folder in QV_SCRIPTS.
local NewSession = dofile(os.getenv("QV_SCRIPTS") .. "/session.lua")
local s, plugin = NewSession(os.getenv("QV_SESSION"), "urn:varek:quorvane", ARDOUR.PluginType.LV2)
local lv2 = plugin:to_insert():plugin(0)
local function Controls()
  for i = 0, 3 do
    print(lv2:parameter_label(i) .. " = " .. ARDOUR.LuaAPI.get_processor_param(plugin, i, true))
  end
end
Controls()
assert(ARDOUR.LuaAPI.set_processor_param(plugin, 2, 20))
ARDOUR.LuaAPI.usleep(500000)
Controls()
s:save_state("", false, false, false, false, false)
close_session()
