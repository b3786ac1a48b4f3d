#pragma once

#include <QDialog>

class Formkontext;

class frmSokSkytt : public QDialog {
    Q_OBJECT
public:
    explicit frmSokSkytt(Formkontext& k, QWidget* parent = nullptr);

protected:
    Formkontext& m_k;
};
