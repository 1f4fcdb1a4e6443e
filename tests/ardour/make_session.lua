-- A session with one stereo track holding the plug-in, on the dummy backend.
-- ardour7-lua make_session.lua; the session's directory is in QV_SESSION.
local path = os.getenv("QV_SESSION")
assert(AudioEngine:set_backend("None (Dummy)", "", ""))
AudioEngine:start(false)
local s = assert(create_session(path, "quorvane", 48000))
local tracks = s:new_audio_track(2, 2, nil, 1, "Audio", -1, ARDOUR.TrackMode.Normal, true)
local plugin = ARDOUR.LuaAPI.new_plugin(s, "Quorvane", ARDOUR.PluginType.LXVST, "")
if plugin:isnil() then os.exit(2) end
for t in tracks:iter() do t:add_processor_by_index(plugin, 0, nil, true) end
s:save_state("", false, false, false, false, false)
close_session()
