-- Opens the session that controls_session.lua saved (its directory in
-- QV_SESSION) on the dummy backend and prints the plug-in's controls.
assert(AudioEngine:set_backend("None (Dummy)", "", ""))
AudioEngine:start(false)
local s = assert(load_session(os.getenv("QV_SESSION"), "quorvane"))
local controls = dofile(os.getenv("QV_SCRIPTS") .. "/controls.lua")
for route in s:get_routes():iter() do
  local processor = route:nth_plugin(0)
  if not processor:isnil() then controls(processor) end
end
close_session()
