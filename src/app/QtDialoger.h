#pragma once

#include "shell/Formkontext.h"

// The platform dialogs for real: Qt's file and print dialogs and the
// desktop's handler for documents.
class QtDialoger : public Plattformsdialoger {
public:
    QString oppnaFil(QWidget* foralder, const QString& rubrik, const QString& startmapp,
                     const QString& filter) override;
    std::optional<Kopior> valjKopior(QWidget* foralder, const Kopior& nu) override;
    bool oppnaDokument(const QString& fil) override;
};
