#include "registration/frmSokSkytt.h"

frmSokSkytt::frmSokSkytt(Formkontext& k, QWidget* parent) : QDialog(parent), m_k(k) {}
