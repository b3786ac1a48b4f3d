#include "registration/frmInskrivningSkyttar.h"

frmInskrivningSkyttar::frmInskrivningSkyttar(Formkontext& k, QWidget* parent) : QWidget(parent), m_k(k) {}

void frmInskrivningSkyttar::valjSkjutlag(int) {}

bool frmInskrivningSkyttar::valjBana(int) {
    return false;
}

void frmInskrivningSkyttar::HamtaSkytt() {}
