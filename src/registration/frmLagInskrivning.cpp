#include "registration/frmLagInskrivning.h"

frmLagInskrivning::frmLagInskrivning(Formkontext& k, QWidget* parent) : QWidget(parent), m_k(k) {}
