-- A session whose one stereo track plays the test tone (test_tone.lua),
-- through the plug-in when QV_PLUGIN names one (its kind, LXVST or VST3, in
-- QV_KIND: LXVST, VST3 or LV2) with "dither" off and "psychoacoustic power"
-- at QV_SHAPING (0, off, when not given), exported from 0 to 2 s as a 32-bit
-- float WAV into QV_SESSION/out/render.wav. Exits with status 1 when the
-- export failed.
assert(AudioEngine:set_backend("None (Dummy)", "", ""))
AudioEngine:start(false)
local s = assert(create_session(os.getenv("QV_SESSION"), "quorvane", 48000))
local tracks = s:new_audio_track(2, 2, nil, 1, "Audio", -1, ARDOUR.TrackMode.Normal, true)
local name = os.getenv("QV_PLUGIN") or ""
for t in tracks:iter() do
  if name ~= "" then
    local plugin = ARDOUR.LuaAPI.new_plugin(s, name, ARDOUR.PluginType[os.getenv("QV_KIND")], "")
    if plugin:isnil() then os.exit(2) end
    assert(t:add_processor_by_index(plugin, 0, nil, true))
    assert(ARDOUR.LuaAPI.set_processor_param(plugin, 0, 0))
    assert(ARDOUR.LuaAPI.set_processor_param(plugin, 1, tonumber(os.getenv("QV_SHAPING") or "0")))
  end
  local tone = ARDOUR.LuaAPI.new_luaproc(s, "Quorvane Test Tone")
  assert(t:add_processor_by_index(tone, 0, nil, true))
end
local export = s:simple_export()
export:set_name("render")
export:set_folder(os.getenv("QV_SESSION") .. "/out")
export:set_range(0, 96000)
assert(export:set_preset("8d0f6a52-3c1e-4f7b-9a65-2e7b4c1d9f30"))
if not export:run_export() then os.exit(1) end
close_session()
