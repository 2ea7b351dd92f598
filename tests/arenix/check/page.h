// A page of the in-memory host for the checks: its request and response as
// the by-reference variants a page passes, and what a refusal must leave.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "arenix/page/error_page.h"
#include "host/memory_host.h"

namespace arenix::check::testing {

using automation::Text;
using automation::TextView;
using automation::Variant;

struct Page {
  std::shared_ptr<host::MemoryRequest> request = std::make_shared<host::MemoryRequest>();
  std::shared_ptr<host::MemoryResponse> response = std::make_shared<host::MemoryResponse>();
  Variant Request{automation::ObjectPtr(request)};
  Variant Response{automation::ObjectPtr(response)};

  // The whole error page with the message, the response ended, and what
  // the page writes afterwards dropped.
  void ExpectRefused(TextView message, bool close_parent = false, TextView dialog_id = u"") {
    const Text page = page::ErrorPageText(message, close_parent, dialog_id);
    EXPECT_TRUE(response->ended());
    EXPECT_EQ(automation::ToUtf8(response->text()), automation::ToUtf8(page));
    response->Write(u"<p>the page goes on</p>");
    EXPECT_EQ(response->text().size(), page.size());
  }

  void ExpectAccepted() {
    EXPECT_FALSE(response->ended());
    EXPECT_EQ(automation::ToUtf8(response->text()), "");
  }
};

}  // namespace arenix::check::testing
