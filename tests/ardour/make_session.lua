-- A session with one stereo track holding the plug-in, on the dummy backend.
-- ardour7-lua make_session.lua; the session's directory is in QV_SESSION,
-- this folder in QV_SCRIPTS.
local NewSession = dofile(os.getenv("QV_SCRIPTS") .. "/session.lua")
local s = NewSession(os.getenv("QV_SESSION"), os.getenv("QV_NAME"), ARDOUR.PluginType.LXVST)
s:save_state("", false, false, false, false, false)
close_session()
