#include "arenix/meet/registration_form.h"

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::meet {

using automation::LongToText;
using automation::Trim;

RegistrationForm ReadRegistrationForm(const host::Request& request, int slots) {
  RegistrationForm form;
  // One pass over the posted fields; each athlete's dozen fields are then
  // looked up by name, however many athletes the form lists.
  const host::UrlFields posted = request.FormFields();
  form.age = Trim(posted.Get(u"ydy_age"));
  form.team = Trim(posted.Get(u"ydy_team"));
  const std::vector<Text> ids = automation::Split(Trim(request.Item(u"ydy_bh_list")), u"|");
  for (size_t k = 1; k < ids.size(); ++k) {
    RegisteredAthlete a;
    a.id = Trim(ids[k]);
    a.name = Trim(posted.Get(u"ydy_xm_" + a.id));
    a.men = Trim(posted.Get(u"ydy_xb_" + a.id)) == u"True";
    for (int i = 1; i <= 4; ++i) a.extra[static_cast<size_t>(i - 1)] = Trim(posted.Get(u"ydy_fjzd_" + a.id + u"_" + LongToText(i)));
    for (int j = 1; j <= slots; ++j) a.slots.push_back(Trim(posted.Get(u"ydy_csxm_" + a.id + u"_" + LongToText(j))));
    a.coach = Trim(posted.Get(u"ydy_fgjl_" + a.id));
    form.athletes.push_back(std::move(a));
  }
  return form;
}

Text SlotEvent(TextView value) {
  size_t at = value.find(u'_');
  return Text(at == TextView::npos ? value : value.substr(0, at));
}

}  // namespace arenix::meet
