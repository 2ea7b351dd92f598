#include "data/write_lock.h"

#include <exception>

#include "automation/object.h"
#include "data/connection.h"

namespace data {

MeetWriteLock::MeetWriteLock(const automation::Variant& conn, std::chrono::milliseconds wait)
    : unwinding_(std::uncaught_exceptions()) {
  auto* engine = automation::ObjectTryCast<FreeTableConnection>(conn);
  if (engine && engine->IsOpen()) unit_ = std::make_unique<dbf::WriteUnit>(engine->database().folder(), wait);
}

MeetWriteLock::MeetWriteLock(const std::string& folder, std::chrono::milliseconds wait)
    : unit_(std::make_unique<dbf::WriteUnit>(folder, wait)), unwinding_(std::uncaught_exceptions()) {}

MeetWriteLock::~MeetWriteLock() noexcept(false) {
  if (!unit_ || unit_->done()) return;
  if (std::uncaught_exceptions() > unwinding_) return;  // the unit's destructor undoes the writes
  auto unit = std::move(unit_);
  unit->Commit();
}

void MeetWriteLock::Commit() {
  if (unit_) {
    unit_->Commit();
    return;
  }
  auto after = std::move(after_commit_);
  after_commit_.clear();
  for (auto& fn : after) fn();
}

void MeetWriteLock::AfterCommit(std::function<void()> fn) {
  if (unit_)
    unit_->AfterCommit(std::move(fn));
  else
    after_commit_.push_back(std::move(fn));
}

void MeetWriteLock::RollBack() {
  if (unit_) unit_->RollBack();
}

}  // namespace data
