#pragma once

// What the audio-over-IP module's pages share: the module page, its addressing pages, the input
// streams and receive slots, and the output stream page, each group in a file of its own.

#include <QString>

#include <string>

class QVantelMenuItems;
class TComRavennaController;

namespace RavennaFields {

using Controller = TComRavennaController;

// The left margin of the rows set in under a caption.
constexpr int kIndentedLeft = 60;

// The makers whose modules differ in the rows and keys their pages offer.
enum class Maker { Other, Merging, Audinate, ArchWave };

QString failureText();
QString applyingText();
QString powerCycleText();

// The process-wide module controller the pages read, stage and write.
Controller *module();
// A module not yet read: every row is locked.
bool pageLocked();
bool moreSlots();
Maker moduleMaker();
bool twoInterfaces();
// The receive slots the module has.
int slotCount();

// A decimal int; false for any other text.
bool decimal(const QString &text, int *value);

void setRowText(QVantelMenuItems *page, int id, const QString &text);
void setRowReadOnly(QVantelMenuItems *page, int id, bool on);

// After a read the module answered without the key: row shows "Unknown" (a text row nothing)
// and is locked, as showPageUnread() shows every row; a choice keeps its entries for the next
// read. Nothing when the module sent the key, but a switch hidden by an earlier such read is
// shown again, for the caller to set.
void showRowByKey(QVantelMenuItems *page, int id, const std::string &key);

// After the page's read of the module failed: no row shows a value the module did not send.
// Editable rows say "Unknown" (a text row shows nothing) and are locked, so nothing unread is
// compared or written; a choice keeps its entries for the next read. Links to the pages below
// stay open, without their summaries, since those pages read for themselves.
void showPageUnread(QVantelMenuItems *page);

} // namespace RavennaFields
