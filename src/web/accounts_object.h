// The meet's accounts as the site's pages reach them:
// Server.CreateObject("Arenix.Accounts"). Login checks the password against
// the password store with the login throttle in front, gives the session a
// new id and records who is logged in; the organiser's desk adds, changes
// and removes accounts. Every method returns an empty text when it worked
// and the message for the user when it did not.
//
//   Login(Server, Request, Session, user, password)
//   Add(Server, user, password, role, name, delegation, events)
//   SetPassword(Server, user, password)
//   Update(Server, user, name, delegation, events)
//   Remove(Server, user)
//   Prepare(Server)            makes the desk's tables a meet lacks
//
// After a login the session holds ARENIX_ACCOUNT (the user name) and
// ARENIX_ROLE; a recorder's also SPORTS_WLDF_Session ("user|events|name"),
// which the component's entry check reads.
#pragma once

namespace web {

/// Registers "Arenix.Accounts" (idempotent).
void RegisterAccountsClass();

}  // namespace web
