#pragma once

// What becomes of what a copy left beside its target: the one decision over a
// cut-off copy (ended, taken back, refused, or nothing to do), how it is
// carried out, and which backup folder is the program's to empty. The public
// functions of the undo (Mappkopia::angraAvbruten, bedomAvbruten, kvarlamnat)
// live in Angring.cpp too.

#include "platform/folder_copy/Filstod.h"
#include "platform/folder_copy/Kopieringslogg.h"
#include "platform/folder_copy/Mappkopia.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace Mappkopia::detalj {

// What putting one entry of a record back takes, from what the three places
// hold now; an entry already back, or never touched, stays.
enum class Atgard {
    Inget,
    TillMal,          // what was moved aside goes back into the target
    TillStaging,      // what was moved in goes back to the staging folder
    TillStagingOchMal // both: a folder, or a file where a folder was
};

// The decision over what a copy into a target left, from its record and the
// three places (the target, the staging folder, the moved-aside folder),
// made before anything is touched.
struct Beslut {
    Avbrottsbeslut::Vad vad = Avbrottsbeslut::Vad::Inget;
    QString orsak; // Vagra: what was found, for the operator
    Logg logg;     // the record, when there is a whole one
    bool loggFinns = false;
    // Avsluta with a record: the first entry not moved in (all moved in: the
    // record's length).
    size_t fran = 0;
    // TaTillbaka with a record: what each entry takes.
    std::vector<Atgard> atgarder;
    // The moved-aside folder holds nothing besides the program's own files:
    // it is removed, and the backup stays.
    bool undanTom = false;
};

// The one decision. satt: what a copy cut off after its record lasted
// becomes when what it had not moved in lies whole in its staging folder
// (ended when the folder is to be used, taken back when it is to be replaced);
// one whose every entry moved in is ended whatever satt says, one whose waiting
// files are not whole is taken back, and what cannot be trusted is refused.
// egen: a copy that failed itself, the index of the record's entry it was
// moving; it is taken back whatever the rest holds, since the copy knows
// what it did not begin. Throws only for a failure of the system, or
// IngenSakerhetskopia when the moved-aside files would become a backup and
// no name is free for it.
Beslut bestam(const Platser& p, Avbrott satt, std::optional<size_t> egen = std::nullopt);
// Carries out b (Vagra: throws Otillforlitlig with its reason) and removes
// what the copy left beside the target. Answers the backup folder that the
// moved-aside files became, if they did.
QByteArray utfor(const Platser& p, const Beslut& b, const std::function<void(const QString&)>& steg);

// The backup folder a copy into the target uses: the first name that is free
// or a backup of ours; refused (IngenSakerhetskopia) when there is none.
QByteArray valjBak(const Platser& p);
// Removes a backup or moved-aside folder of ours, its mark last, so that a
// removal cut off leaves a folder still known as ours.
bool taBortMarkerad(const QByteArray& mapp);

} // namespace Mappkopia::detalj
