#include "arenix/meet/registration_rules.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include "automation/coerce.h"
#include "automation/runtime.h"

namespace arenix::meet {
namespace {

using automation::DoubleToText;
using automation::LongToText;

// Men and women counted for one key (an event name or a team entry).
struct Count {
  int men = 0, women = 0;
};

// Counts the named athletes' counted slots, keyed by `key_of(slot)`.
template <class KeyOf>
std::map<Text, Count> CountSlots(const RegistrationForm& form, int counted, KeyOf key_of) {
  std::map<Text, Count> counts;
  for (const RegisteredAthlete& a : form.athletes) {
    if (!a.named()) continue;
    for (int j = 0; j < counted && j < static_cast<int>(a.slots.size()); ++j) {
      const Text& value = a.slots[static_cast<size_t>(j)];
      if (value.empty()) continue;
      Count& c = counts[key_of(value)];
      ++(a.men ? c.men : c.women);
    }
  }
  return counts;
}

Count Find(const std::map<Text, Count>& counts, const Text& key) {
  auto it = counts.find(key);
  return it == counts.end() ? Count{} : it->second;
}

// Rule 2: the first athlete (in list order) whose identity number another
// row repeats, and the first such other row.
Text RepeatedIdentity(const RegistrationForm& form) {
  std::unordered_map<Text, std::vector<size_t>> rows;
  for (size_t i = 0; i < form.athletes.size(); ++i)
    if (!form.athletes[i].identity().empty()) rows[form.athletes[i].identity()].push_back(i);
  for (const RegisteredAthlete& a : form.athletes) {
    if (a.identity().empty()) continue;
    const std::vector<size_t>& same = rows[a.identity()];
    if (same.size() < 2) continue;
    const RegisteredAthlete& other = form.athletes[same[1]];
    return u"身份证号码〖" + a.identity() + u"〗有重复，" + u"[" + a.name + u"]" + u"--[" + other.name + u"]" +
           u"，请重输！";
  }
  return {};
}

// Rule 3: the first slot whose event another slot of the same athlete
// repeats.
Text RepeatedEvent(const RegistrationForm& form) {
  for (const RegisteredAthlete& a : form.athletes) {
    std::map<Text, int> seen;
    for (const Text& value : a.slots)
      if (!value.empty()) ++seen[SlotEvent(value)];
    for (const Text& value : a.slots) {
      if (value.empty()) continue;
      const Text event = SlotEvent(value);
      if (seen[event] > 1) return u"运动员〖" + a.name + u"〗有重复的参赛项目【" + event + u"】" + u"，请重输！";
    }
  }
  return {};
}

// Rule 4: a combined event with any other event.
Text CombinedWithOthers(const RegistrationForm& form) {
  for (const RegisteredAthlete& a : form.athletes) {
    int entered = 0;
    bool combined = false;
    for (const Text& value : a.slots) {
      if (value.empty()) continue;
      ++entered;
      if (value.find(u"全能") != Text::npos) combined = true;
    }
    if (entered > 1 && combined) return u"运动员〖" + a.name + u"〗有全能兼报项目，请重输！";
  }
  return {};
}

}  // namespace

int RegistrationSettings::Slots() const { return std::max(0, int{counted_slots} + int{further_slots}); }

int RegistrationSettings::CountedSlots() const { return std::clamp(int{counted_slots}, 0, Slots()); }

bool RegistrationSettings::Shown(int i) const {
  return i >= 1 && static_cast<size_t>(i) <= shown_fields.size() && shown_fields[static_cast<size_t>(i - 1)] == u'1';
}

Text FirstBrokenFormRule(const RegistrationForm& form, const RegistrationSettings& settings) {
  const auto named = std::count_if(form.athletes.begin(), form.athletes.end(),
                                   [](const RegisteredAthlete& a) { return a.named(); });
  if (settings.most_athletes < named)
    return u"运动员总数不能超过" + LongToText(settings.most_athletes) + u"人，请重输！";
  if (settings.Shown(4)) {
    if (Text m = RepeatedIdentity(form); !m.empty()) return m;
  }
  if (Text m = RepeatedEvent(form); !m.empty()) return m;
  if (settings.combined_alone == 1 && settings.combined_with_others == 0) {
    if (Text m = CombinedWithOthers(form); !m.empty()) return m;
  }
  return {};
}

std::vector<Text> TeamEntries(const RegistrationEvent& event) {
  if (event.limit < 2 * event.team_size || event.limit == event.team_size) return {event.name};
  const auto size = static_cast<int64_t>(automation::RoundHalfEven(event.team_size));
  const int64_t n = size > 0 ? static_cast<int64_t>(automation::RoundHalfEven(event.limit)) / size : 0;
  std::vector<Text> entries;
  for (int64_t k = 0; k < n && k < 0x10000; ++k)
    entries.push_back(event.name + u"_" + Text(1, static_cast<char16_t>(u'A' + k)));
  return entries;
}

Text FirstBrokenEventRule(const RegistrationForm& form, const std::vector<RegistrationEvent>& events,
                          const RegistrationSettings& settings) {
  const int counted = settings.CountedSlots();

  // Rule 5: entrants per event and sex.
  const auto by_event = CountSlots(form, counted, [](const Text& v) { return SlotEvent(v); });
  for (const RegistrationEvent& e : events) {
    const double limit = settings.limit_from_item != 0 ? e.limit : static_cast<double>(settings.most_per_event);
    const Count c = Find(by_event, e.name);
    if (limit < c.men) return u"男子参赛项目【" + e.name + u"】不能超过" + DoubleToText(limit) + u"人，请重输！";
    if (limit < c.women) return u"女子参赛项目【" + e.name + u"】不能超过" + DoubleToText(limit) + u"人，请重输！";
  }

  // Rule 6: team entries complete. Slot values match an entry name exactly.
  const auto by_value = CountSlots(form, counted, [](const Text& v) { return v; });
  for (const RegistrationEvent& e : events) {
    if (e.collective || !(e.team_size > 1)) continue;
    const Text size = DoubleToText(e.team_size);
    for (const Text& entry : TeamEntries(e)) {
      const Count c = Find(by_value, entry);
      if (IsMixedEvent(entry, settings.mixed_marker)) {
        if (!(c.men + c.women == e.team_size || (c.men == 0 && c.women == 0)))
          return u"混合参赛项目【" + entry + u"】参赛人数应为" + size + u"，请重输！";
        continue;
      }
      if (c.men != 0 && c.men != e.team_size) return u"男子参赛项目【" + entry + u"】参赛人数应为" + size + u"，请重输！";
      if (c.women != 0 && c.women != e.team_size)
        return u"女子参赛项目【" + entry + u"】参赛人数应为" + size + u"，请重输！";
    }
  }
  return {};
}

std::pair<Text, Text> BirthdayWindow(TextView min, TextView max) {
  Text low = min.size() == 8 ? Text(min) : Text();
  Text high = max.size() == 8 ? Text(max) : Text();
  if (low.size() == 8 && high.size() == 8 && low > high) std::swap(low, high);
  return {low, high};
}

}  // namespace arenix::meet
