ardour {
	["type"]    = "dsp",
	name        = "Quorvane Test Tone",
	category    = "Utility",
	license     = "MIT",
	author      = "the tests",
	description = [[Two sines and a slow sweep of level, a function of the transport's position only, and silence while the transport stands, so that every export of a range holds the same samples and no plug-in after it carries a state from before the export]]
}

function dsp_ioconfig ()
	return { [1] = { audio_in = -1, audio_out = -1}, }
end

local rate = 48000

function dsp_init (r)
	rate = r
end

function dsp_run (ins, outs, n_samples)
	local start = Session:transport_sample ()
	local rolling = Session:transport_rolling ()
	local a = {}
	for s = 1, n_samples do
		local t = (start + s - 1) / rate
		a[s] = 0
		if rolling then
			a[s] = (0.3 + 0.2 * math.sin (2 * math.pi * 0.5 * t)) * math.sin (2 * math.pi * 997 * t)
				+ 0.05 * math.sin (2 * math.pi * 6011 * t)
		end
	end
	for c = 1, #outs do
		outs[c]:set_table (a, n_samples)
	end
end
