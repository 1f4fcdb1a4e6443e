-- A session with one stereo track holding the plug-in, on the dummy
-- backend: prints each control as "NAME = VALUE", sets "target bits" to 20
-- while the session runs, prints them again and saves the session.
-- ardour7-lua controls_session.lua; the session's directory is in
-- QV_SESSION, this folder in QV_SCRIPTS, the plug-in's name or URI in
-- QV_PLUGIN and its kind (LV2, VST3) in QV_KIND.
local NewSession = dofile(os.getenv("QV_SCRIPTS") .. "/session.lua")
local s, plugin = NewSession(os.getenv("QV_SESSION"), os.getenv("QV_PLUGIN"),
                             ARDOUR.PluginType[os.getenv("QV_KIND")])
local controls = dofile(os.getenv("QV_SCRIPTS") .. "/controls.lua")
controls(plugin)
assert(ARDOUR.LuaAPI.set_processor_param(plugin, 2, 20))
ARDOUR.LuaAPI.usleep(500000)
controls(plugin)
s:save_state("", false, false, false, false, false)
close_session()
