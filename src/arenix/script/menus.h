// The collapsible menu, the draggable box and the login-form script that
// the movable menu box of the page renderers puts together.
//
// Element contract: sections are `div`s of class "child" with id
// menu id + "Child"; the draggable box has id "floater"; an element with id
// "scroll1" allows dragging it sideways, one with id "scroll2" up and down.
#pragma once

#include "automation/text.h"

namespace arenix::script {

using automation::Text;

/// Globals `scores` (20 menu ids, filled by the page from index 1) and
/// `numTotal`; `initIt()` folds every "child" div (run at load);
/// `expandIt(el)` toggles el + "Child" and folds the other menus.
Text ScriptListMenu();

/// `moveIt()`: makes "floater" draggable with the mouse.
Text ScriptListMenuMove();

/// `closeLoginForm()` hides "floater", `showLoginForm()` puts it at the top
/// left of the visible page and shows it; at load, `initIt()` runs when
/// `expand` and `moveIt()` when `move` (their blocks must be on the page).
Text LoginFormScript(bool move, bool expand);

}  // namespace arenix::script
