#pragma once

// The undo of a copy that was cut off, and the clean-up of what a copy leaves
// beside its target: which backup folder is the program's to replace, and
// what a record found beside a target lets the program move. The rules of
// what the undo trusts stand together in Angring.cpp.

#include "platform/folder_copy/Filstod.h"
#include "platform/folder_copy/Mappkopia.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace Mappkopia::detalj {

// The backup folder a copy into the target uses: the first name that is free
// or a backup of ours; refused (IngenSakerhetskopia) when there is none.
QByteArray valjBak(const Platser& p);
// Removes a backup or moved-aside folder of ours, its mark last, so that a
// removal cut off leaves a folder still known as ours.
bool taBortMarkerad(const QByteArray& mapp);
// Removes what a copy into the target left beside it: a copy cut off before
// its record was gone is taken back, one cut off after is ended. Answers the
// backup folder that the moved-aside files became, if they did. What cannot
// be trusted is left as it is (Otillforlitlig, with what was found). satt:
// whether a copy whose files not yet moved in lie whole is ended or taken
// back. egen: a copy that failed itself, the index of the record's entry it
// was moving; it is taken back whatever the rest holds, since the copy knows
// what it did not begin.
QByteArray stadaUpp(const Platser& p, const std::function<void(const QString&)>& steg, Avbrott satt,
                    std::optional<size_t> egen = std::nullopt);

} // namespace Mappkopia::detalj
