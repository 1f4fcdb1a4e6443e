// `qvhost clap`: the state group. A round trip is byte-exact, whatever
// steps the streams move in; anything but a whole state is refused and
// changes nothing; a save into a failing stream fails.
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "tools/qvhost/clap/clap_checks.h"
#include "tools/qvhost/clap/clap_host_objects.h"
#include "tools/qvhost/clap/loaded_clap.h"

using namespace clap;

namespace {

std::vector<double> Values(const Plugin* p, const PluginParams& params) {
  std::vector<double> values(params.count(p));
  for (size_t i = 0; i < values.size(); ++i) params.getValue(p, static_cast<Id>(i), &values[i]);
  return values;
}

bool Save(const Plugin* p, const PluginState& state, std::vector<unsigned char>& bytes,
          uint64_t step = 1 << 30) {
  MemoryOutStream out;
  out.largestStep = step;
  if (!state.save(p, out.Record())) return false;
  bytes = out.bytes;
  return true;
}

bool Load(const Plugin* p, const PluginState& state, std::vector<unsigned char> bytes,
          uint64_t step = 1 << 30) {
  MemoryInStream in(std::move(bytes));
  in.largestStep = step;
  return state.load(p, in.Record());
}

}  // namespace

void CheckClapState(const ClapCheckOptions& options, ValidationLog& log) {
  LoadedClap module;
  if (!module.Load(options.path)) return;
  const Plugin* p = &module.Plugin();
  const auto* params = module.Ask<PluginParams>(kExtParams);
  const auto* state = module.Ask<PluginState>(kExtState);
  if (!log.Check(params && state, "state: the extension is there")) return;

  // Values away from the defaults, then a round trip into a second instance.
  InputEventList edits;
  edits.AddValue(0, 0, 0.0);
  edits.AddValue(1, 0, 5.0);
  edits.AddValue(2, 0, 17.0);
  params->flush(p, edits.Record(), nullptr);
  std::vector<unsigned char> saved, again, stepped;
  const Plugin* other = module.CreateAnother();
  const bool made = other && other->init(other);
  const bool trip = Save(p, *state, saved) && made && Load(other, *state, saved, 3) &&
                    Save(other, *state, again) && again == saved &&
                    Values(other, *params) == Values(p, *params) && Save(p, *state, stepped, 1) &&
                    stepped == saved;
  log.Note(Format("a state is %d bytes", static_cast<int>(saved.size())));
  log.Check(trip, "state: a round trip is byte-exact, in any steps, and restores every value");

  // What must be refused, each leaving the values as they were.
  const std::vector<double> before = Values(p, *params);
  Findings refused;
  const auto refuse = [&](const std::vector<unsigned char>& bytes, const char* what,
                          uint64_t step = 1 << 30) {
    if (Load(p, *state, bytes, step)) refused.Add(Format("%s was loaded", what));
    if (Values(p, *params) != before) refused.Add(Format("%s changed the values", what));
  };
  refuse({}, "an empty stream");
  for (size_t n = 1; n < saved.size(); ++n) {
    refuse(std::vector<unsigned char>(saved.begin(), saved.begin() + n), "a truncated state", 5);
  }
  std::vector<unsigned char> longer = saved;
  longer.push_back(0);
  refuse(longer, "a state with a byte more");
  std::vector<unsigned char> tagged = saved;
  tagged[0] ^= 0x20;
  refuse(tagged, "another tag");
  std::vector<unsigned char> versioned = saved;
  versioned[4] = 2;
  refuse(versioned, "another version");
  std::vector<unsigned char> program = saved;
  program[8] = 200;
  refuse(program, "a program past the list");
  if (saved.size() >= 48) {
    std::vector<unsigned char> outside = saved;
    const double big = 100.0;  // target bits past 32
    std::memcpy(&outside[32], &big, sizeof big);
    refuse(outside, "a value outside its range");
    std::vector<unsigned char> nan = saved;
    const double none = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(&nan[16], &none, sizeof none);
    refuse(nan, "a NaN value");
  }
  std::mt19937 random(7);
  for (int i = 0; i < 20; ++i) {
    std::vector<unsigned char> garbage(random() % 96);
    for (unsigned char& byte : garbage) byte = static_cast<unsigned char>(random());
    refuse(garbage, "garbage");
  }
  std::vector<unsigned char> huge(1 << 16, 0x51);
  refuse(huge, "64 KB of garbage");
  MemoryInStream failing(saved);
  failing.failing = true;
  if (state->load(p, failing.Record())) refused.Add("a failing stream was loaded");
  if (state->load(p, nullptr)) refused.Add("a null stream was loaded");
  log.Check(refused, "state: empty, truncated, longer, garbage and failing streams are refused");

  MemoryOutStream full;
  full.failing = true;
  log.Check(!state->save(p, full.Record()) && !state->save(p, nullptr),
            "state: a save into a failing stream fails");
  if (other) other->destroy(other);
  CheckThreads(module.Host(), log, "state");
}
