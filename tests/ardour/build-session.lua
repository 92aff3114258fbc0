-- Builds an Ardour session holding one MIDI track whose instrument is our
-- module, headless, with Ardour's own Lua tool and its "None (Dummy)" engine:
--
--   ardour7-lua build-session.lua SESSION_DIR SESSION_NAME [TRACK_NAME [MODE]]
--
-- MODE "insert" (default): a MIDI track without instrument, then the module
-- made with ARDOUR.LuaAPI.new_plugin and put first in the track's processors.
-- MODE "instrument": the module given to new_midi_track as its instrument,
-- the way Ardour's Add Track dialog makes it.  Both give the same strip.
--
-- The module must already be in Ardour's plug-in cache (ardour-vst-scanner
-- makes it): the Lua tool only reads that cache and never scans by itself.
-- Errors end the tool with a non-zero status.

local dir = arg and arg[1]
local name = arg and arg[2]
local track_name = (arg and arg[3]) or "Drums"
local mode = (arg and arg[4]) or "insert"
local plugin_name = os.getenv("PULSETTA_PLUGIN_NAME") or "Pulsetta"
local rate = tonumber(os.getenv("PULSETTA_SESSION_RATE") or "48000")

local function say(s) io.stderr:write("build-session: " .. s .. "\n") end

if not dir or not name then
	error("usage: build-session.lua SESSION_DIR SESSION_NAME [TRACK_NAME [insert|instrument]]")
end

local s = create_session(dir, name, rate)
if not s then error("create_session failed for " .. dir) end
say("engine: " .. AudioEngine:current_backend_name() .. " at " .. s:nominal_sample_rate() .. " Hz")

-- the plug-in list exists once the engine is up: asking before create_session crashes the tool
local found = false
for p in ARDOUR.LuaAPI.list_plugins():iter() do
	if p.type == ARDOUR.PluginType.LXVST then
		say(string.format("cached LXVST: %s (id %s) %s", p.name, p.unique_id, p.path))
		if p.name == plugin_name then found = true end
	end
end
if not found then
	error("no LXVST plug-in named '" .. plugin_name .. "' in Ardour's plug-in cache: was it scanned (ardour-vst-scanner) with the same XDG_CACHE_HOME and LXVST_PATH?")
end

local midi_in = ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1)
local audio_out = ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2)

local instrument = ARDOUR.PluginInfo() -- empty: no instrument (a Lua nil here crashes the tool)
if mode == "instrument" then
	instrument = ARDOUR.LuaAPI.new_plugin_info(plugin_name, ARDOUR.PluginType.LXVST)
	if instrument:isnil() then error("new_plugin_info found no LXVST '" .. plugin_name .. "'") end
elseif mode ~= "insert" then
	error("unknown mode " .. mode)
end

local tl = s:new_midi_track(midi_in, audio_out, true, instrument, nil, nil, 1, track_name,
	ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
local track
for t in tl:iter() do track = t end
if not track then error("new_midi_track made no track") end

if mode == "insert" then
	local proc = ARDOUR.LuaAPI.new_plugin(s, plugin_name, ARDOUR.PluginType.LXVST, "")
	if proc:isnil() then error("ARDOUR.LuaAPI.new_plugin found no LXVST '" .. plugin_name .. "'") end
	local rv = track:add_processor_by_index(proc, 0, nil, true)
	if rv ~= 0 then error("add_processor_by_index failed: " .. tostring(rv)) end
end

local plugin_at = -1
local i = 0
while true do
	local p = track:nth_processor(i)
	if p:isnil() then break end
	say(string.format("  processor %d: %s", i, p:display_name()))
	if p:display_name() == plugin_name then plugin_at = i end
	i = i + 1
end
if plugin_at < 0 then error("the track has no processor named " .. plugin_name) end

local insert = track:nth_plugin(0):to_insert()
say(string.format("track '%s': plug-in '%s' (%s), %d MIDI in, %d audio out; track outputs %d audio",
	track:name(), insert:plugin(0):name(), ARDOUR.PluginType.name(insert:type()),
	insert:input_streams():n_midi(), insert:output_streams():n_audio(), track:n_outputs():n_audio()))

-- The lane of one parameter (BD TUNE, host parameter 12, unless told) records
-- in Touch: a knob dragged in the editor while the transport rolls writes
-- automation.
local touched = tonumber(os.getenv("PULSETTA_TOUCH_PARAMETER") or "12")
local ac = insert:to_automatable():automation_control(Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, touched), false)
if ac:isnil() then error("the plug-in has no automation control for parameter " .. touched) end
ac:set_automation_state(ARDOUR.AutoState.Touch)
say(string.format("parameter %d records in Touch", touched))

-- save_state (snapshot, pending, switch_to_snapshot, template_only, for_archive, only_used_assets)
local rv = s:save_state("", false, false, false, false, false)
if rv ~= 0 then error("save_state failed: " .. tostring(rv)) end
say("saved " .. dir .. "/" .. name .. ".ardour")
close_session()
