#include "settings/Redigeringslage.h"

void Redigeringslage::vila() {
    m_lage = Lage::Vilande;
    m_nekat = false;
    m_k.nyckelfalt = false;
    m_k.ovrigaFalt = false;
    m_k.spara = false;
    m_k.avbryt = false;
    m_k.nyMeny = true;
}

void Redigeringslage::radVisad(bool hittad, int antalRader) {
    vila();
    m_k.andra = hittad;
    m_k.radera = hittad && (m_regler.sistaRadenKanRaderas || antalRader != 1);
}

bool Redigeringslage::borjaNy() {
    if (iInmatning())
        return false;
    m_lage = Lage::Ny;
    m_k = {true, true, true, true, false, false, false};
    return true;
}

bool Redigeringslage::borjaAndra() {
    if (iInmatning())
        return false;
    m_lage = Lage::Andra;
    // The key names the record: it is not changed.
    m_k = {false, true, true, true, false, false, false};
    return true;
}

void Redigeringslage::sparad(bool radVald) {
    vila();
    // Whether the only record may go is the delete's own check here.
    m_k.andra = radVald;
    m_k.radera = radVald;
}

void Redigeringslage::avbruten(bool radVald, int antalRader) {
    vila();
    if (!radVald) {
        m_k.andra = false;
        m_k.radera = false;
    } else if (m_regler.sistaRadenKanRaderas || antalRader != 1) {
        m_k.andra = true;
        m_k.radera = true;
    } else {
        // The only record stays; Change stays as the entry left it.
        m_k.radera = false;
    }
}

void Redigeringslage::radernaAndrade(bool radVald) {
    if (iInmatning())
        return;
    m_k.andra = radVald;
    m_k.radera = radVald;
}
