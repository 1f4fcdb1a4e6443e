-- What both session scripts share: a session with one stereo track holding a
-- plug-in, on the dummy backend. Returns the session and the plug-in's
-- processor; exits with status 2 when Ardour does not find the plug-in,
-- after printing what it knows by that name.
return function(path, plugin, kind)
  assert(AudioEngine:set_backend("None (Dummy)", "", ""))
  AudioEngine:start(false)
  local s = assert(create_session(path, "quorvane", 48000))
  local tracks = s:new_audio_track(2, 2, nil, 1, "Audio", -1, ARDOUR.TrackMode.Normal, true)
  local processor = ARDOUR.LuaAPI.new_plugin(s, plugin, kind, "")
  if processor:isnil() then
    for p in ARDOUR.LuaAPI.list_plugins():iter() do
      if p.name == plugin or p.unique_id == plugin then
        print("known: " .. p.name .. ", " .. p.unique_id .. ", type " .. tostring(p.type) .. ", " .. p.path)
      end
    end
    os.exit(2)
  end
  for t in tracks:iter() do t:add_processor_by_index(processor, 0, nil, true) end
  return s, processor
end
