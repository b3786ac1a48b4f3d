#pragma once

#include <QWidget>

class Formkontext;

class frmLagInskrivning : public QWidget {
    Q_OBJECT
public:
    explicit frmLagInskrivning(Formkontext& k, QWidget* parent = nullptr);

protected:
    Formkontext& m_k;
};
