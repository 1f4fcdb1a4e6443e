-- A session with one stereo track holding the LV2 plug-in, on the dummy
-- backend: prints each control as "NAME = VALUE", sets "target bits" to 20
-- while the engine runs the track, prints it again and saves the session.
-- ardour7-lua lv2_session.lua; the session's directory is in QV_SESSION.
local path = os.getenv("QV_SESSION")
assert(AudioEngine:set_backend("None (Dummy)", "", ""))
AudioEngine:start(false)
local s = assert(create_session(path, "quorvane", 48000))
local tracks = s:new_audio_track(2, 2, nil, 1, "Audio", -1, ARDOUR.TrackMode.Normal, true)
local plugin = ARDOUR.LuaAPI.new_plugin(s, "urn:varek:quorvane", ARDOUR.PluginType.LV2, "")
if plugin:isnil() then os.exit(2) end
for t in tracks:iter() do t:add_processor_by_index(plugin, 0, nil, true) end
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
