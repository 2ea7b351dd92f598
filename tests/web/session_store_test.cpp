// Two requests of one browser at once: what one stores survives the other
// ending later, when that other changed nothing.
#include <gtest/gtest.h>

#include "automation/text.h"
#include "web/sessions.h"

namespace web_test {
namespace {

using automation::Variant;

std::string Value(web::SessionStore& store, const std::string& id, const char16_t* key) {
  bool created = false;
  auto s = store.Open(id, created);
  EXPECT_FALSE(created);
  const Variant v = s->Get(key);
  store.Close(s, created);
  return v.IsEmpty() ? std::string("(none)") : automation::ToUtf8(v.text());
}

TEST(SessionStoreTest, ARequestThatChangedNothingDoesNotUndoAnotherOnesChange) {
  struct Case {
    const char* name;
    bool slow_one_sets;  // the request ending last sets a value of its own
    const char* expected_item;
  };
  const Case cases[] = {
      {"the slow request only reads", false, "100米"},
      {"the slow request sets the same key", true, "跳远"},  // the later change wins, as before
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    web::SessionStore store(std::chrono::minutes(20));
    bool created = false;
    auto login = store.Open("", created);
    login->Set(u"account", Variant(automation::Text(u"jilu1")));
    ASSERT_TRUE(store.Close(login, created));
    const std::string id = login->id();

    bool slow_created = false, quick_created = false;
    auto slow = store.Open(id, slow_created);   // a long page starts...
    auto quick = store.Open(id, quick_created); // ...another page of the same browser stores an item
    quick->Set(u"item", Variant(automation::Text(u"100米")));
    store.Close(quick, quick_created);
    if (c.slow_one_sets) slow->Set(u"item", Variant(automation::Text(u"跳远")));
    EXPECT_FALSE(store.Close(slow, slow_created));

    EXPECT_EQ(Value(store, id, u"item"), c.expected_item);
    EXPECT_EQ(Value(store, id, u"account"), "jilu1");
  }
}

}  // namespace
}  // namespace web_test
