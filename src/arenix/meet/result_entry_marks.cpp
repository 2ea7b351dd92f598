#include "arenix/meet/result_entry_marks.h"

#include <functional>

#include "automation/error.h"
#include "automation/runtime.h"

namespace arenix::meet {

namespace {

using automation::LongToText;

// One slot of a layout: what the form calls it, its width, the value it
// must stay below (0: any value that fits) and whether a time needs it
// once a larger unit is typed.
struct Slot {
  const char16_t* name;
  size_t width;
  int below;
  bool needed;
};

struct Shape {
  std::vector<Slot> slots;
};

const Shape& ShapeOf(ResultLayout layout) {
  static const Shape custom{{{u"成绩", 9, 0, true}}};
  static const Shape field{{{u"米", 2, 0, true}, {u"厘米", 2, 0, false}}};
  static const Shape hours{{{u"时", 2, 0, true}, {u"分", 2, 60, true}, {u"秒", 2, 60, true}, {u"秒后小数", 3, 0, false}}};
  static const Shape time{{{u"分", 2, 60, true}, {u"秒", 2, 60, true}, {u"百分秒", 2, 0, false}}};
  switch (layout) {
    case ResultLayout::kCustom:
    case ResultLayout::kCombinedTotal: return custom;
    case ResultLayout::kField: return field;
    case ResultLayout::kTimeWithHours: return hours;
    default: return time;
  }
}

}  // namespace

Text PlainDigits(TextView typed) {
  Text out;
  for (char16_t c : typed) {
    if (c >= u'０' && c <= u'９') c = static_cast<char16_t>(u'0' + (c - u'０'));
    if (c == u'\u3000' || c == u'\t') c = u' ';
    out += c;
  }
  return automation::Trim(out);
}

std::vector<TypedMark> CheckedMarks(const host::Request& form, const std::vector<Text>& numbers,
                                    ResultLayout layout, const std::function<Text(TextView)>& name_of) {
  const Shape& shape = ShapeOf(layout);
  std::vector<TypedMark> marks;
  for (const Text& number : numbers) {
    TypedMark m{number, {}};
    const Text name = name_of(number);
    const Text who = u"成绩保存失败：编号 " + number + (name.empty() ? Text() : u"（" + name + u"）") + u"的";
    auto refuse = [&](const Slot& slot, const Text& typed, const Text& rule) {
      throw automation::Error(automation::err::kInvalidCall,
                              who + slot.name + u"“" + typed + u"”" + rule + u"，请重输！");
    };
    int first_typed = -1;
    for (size_t i = 0; i < shape.slots.size(); ++i) {
      const Slot& slot = shape.slots[i];
      const Text typed = form.Form(u"playcj_" + LongToText(static_cast<int>(i) + 1) + u"_" + number);
      const Text plain = PlainDigits(typed);
      if (plain.empty()) continue;
      if (first_typed < 0) first_typed = static_cast<int>(i);
      for (char16_t c : plain)
        if (c < u'0' || c > u'9') refuse(slot, typed, u"不是数字，成绩只能填数字");
      if (plain.size() > slot.width) refuse(slot, typed, u"超过" + LongToText(static_cast<int>(slot.width)) + u"位数字");
      if (slot.below > 0 && std::stoi(std::string(plain.begin(), plain.end())) >= slot.below)
        refuse(slot, typed, u"应小于" + LongToText(slot.below));
      m.parts[i] = plain;
    }
    // A time or mark whose larger unit is typed needs every needed unit
    // after it (1 minute and no seconds is no time).
    if (first_typed >= 0)
      for (size_t i = static_cast<size_t>(first_typed); i < shape.slots.size(); ++i)
        if (shape.slots[i].needed && m.parts[i].empty())
          throw automation::Error(automation::err::kInvalidCall,
                                  who + shape.slots[i].name + u"没有填写（已填" + shape.slots[first_typed].name +
                                      u"），请重输！");
    marks.push_back(std::move(m));
  }
  return marks;
}

}  // namespace arenix::meet
