#pragma once

#include <functional>
#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// Changes an edit makes to the written document that the library's Context
// cannot make itself: the Context writes a set option anew, last in the
// list and without the attributes the old one carried, and the touch puts
// the place and the attributes back. An edit registers its touches while
// it runs (in a single edit or in a line of a script); RunEdit and apply
// give them the committed document before it is checked and written.
//
// Each touch has a key (one option: name and creation type); a second
// touch of the same key is not registered, so the first, which saw the
// document as loaded, wins. A touch changes options only: it is given the
// frame of the document (DocumentFrame.h), without named objects or
// rules. Main thread only.
using DocumentTouch = std::function<void(Sarvo::PolicyType& policy)>;
void AddDocumentTouch(const std::string& key, DocumentTouch touch);
// Forgets the touch of a key (the option was removed).
void DropDocumentTouch(const std::string& key);
// True when a touch of that key waits.
bool HasDocumentTouch(const std::string& key);

// Applies the waiting touches, the last registered first, to the frame of
// the document the bytes hold (bytes the library wrote) and forgets them;
// returns the bytes unchanged when none waits. Throws what parsing and
// writing the frame throw.
std::vector<unsigned char> ApplyDocumentTouches(std::vector<unsigned char> bytes);
// Forgets every waiting touch (an edit that failed).
void ClearDocumentTouches();

}  // namespace fwpolicy
