// Online registration: the meet's registration rules, checked in a fixed
// order on the posted form. Each check gives the message of the first
// broken rule (the text the error page shows), or the empty text.
//
//   1  named athletes of the form <= the delegation's limit
//   2  identity numbers unique within the form (all rows, named or not)
//   3  no event twice for one athlete (every slot)
//   4  a combined event (全能) entered alone, when the meet says so
//   5  entrants per event and sex <= the event's limit (counted slots)
//   6  relay and team entries complete (counted slots)
// Rules 1-4 read only the form; 5 and 6 need the events of table Item.
#pragma once

#include <cstdint>
#include <vector>

#include "arenix/meet/filters.h"
#include "arenix/meet/registration_form.h"

namespace arenix::meet {

/// The meet's registration settings (CommWlbmSave's parameters).
struct RegistrationSettings {
  int16_t most_athletes = 0;       // named athletes per delegation and age group
  int16_t most_per_event = 0;      // entrants per event and sex, unless Item's limit is used
  int16_t counted_slots = 0;       // event slots that count
  int16_t further_slots = 0;       // further slots: stored, rules 3 and 4 only
  Text shown_fields;               // flag i (1-4) "1": additional field i is on the form
  int16_t postcard_level = 0;      // identity-number check level
  int16_t postcard_age = 0;        // identity-number age limit
  int16_t birthday_check = 0;      // 1: check the birthday window
  Text birthday_min, birthday_max; // yyyymmdd
  int16_t store_coach = 0;         // 1: store 分管教练
  int16_t combined_alone = 0;      // 1 with combined_with_others 0: rule 4 applies
  int16_t combined_with_others = 0;
  int16_t limit_from_item = 0;     // not 0: rule 5 takes 限报人数 of each event
  Text mixed_marker = kMixedMarker;

  /// All slots read and stored: counted + further (none when negative).
  int Slots() const;
  /// The slots that rules 5 and 6 count: the first min(counted, Slots()).
  int CountedSlots() const;
  /// Is additional field i (1-4) on the form?
  bool Shown(int i) const;
};

/// An event of table Item as registration reads it.
struct RegistrationEvent {
  Text name;              // trimmed 参赛项目
  double limit = 0;       // 限报人数 (per delegation and sex)
  double team_size = 0;   // 团体人数
  bool collective = false;  // 集体项目: members not counted per team entry
};

/// Rules 1 to 4 in order.
Text FirstBrokenFormRule(const RegistrationForm& form, const RegistrationSettings& settings);

/// Rules 5 and 6 in order, against the events in table order.
Text FirstBrokenEventRule(const RegistrationForm& form, const std::vector<RegistrationEvent>& events,
                          const RegistrationSettings& settings);

/// The team entries of a relay or team event of rule 6: one named as the
/// event when 限报人数 < 2 x 团体人数 or 限报人数 = 团体人数; otherwise
/// 限报人数 / 团体人数 (whole division) entries named event + "_A", "_B", ...
/// Example: a relay of 4 with 限报人数 8 has "4×100米接力_A" and "4×100米接力_B".
std::vector<Text> TeamEntries(const RegistrationEvent& event);

/// Rule 7: the birthday window as the identity check takes it: a bound of
/// any length but 8 becomes empty; two bounds in the wrong order swap.
std::pair<Text, Text> BirthdayWindow(TextView min, TextView max);

}  // namespace arenix::meet
