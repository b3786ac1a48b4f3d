#include "shell/modGlobalt.h"

#include "common/Databasnamn.h"

#include <QDir>

void modGlobalt::NollstallTavlingsdata() {
    strTavlingsmapp.clear();
    strTavlingsdatabas.clear();
    strTavlingsnamn.clear();
    blnSportskytte = blnNationellt = blnMix = false;
    intSkjutlagsstorlek = 0;
    blnFleraTavlingar = false;
    strTavlingsdatum.clear();
    sngInnertia = 0;
    blnTolkmaskinGrundomg = false;
    blnEjAuto1098 = false;
    blnSkjutlagslistaMedResultat = false;
    blnLagtavling = false;

    intSkjutlagPaSkarm = 0;
    intValtSkjutlag = 0;
}

QString modGlobalt::programmappMedAvslut() const {
    QString mapp = QDir::toNativeSeparators(strProgrammapp);
    if (!mapp.endsWith(QDir::separator()))
        mapp += QDir::separator();
    return mapp;
}

const QString& modGlobalt::klasstabell() const {
    if (blnNationellt)
        return Tabell::Nationellaklasser;
    if (blnMix)
        return Tabell::Mixadeklasser;
    return Tabell::Sportskytteklasser;
}
