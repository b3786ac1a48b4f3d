#include "support/TestKontext.h"

#include <QWidget>

TestFonstervard::TestFonstervard() {
    for (const Menystart& post : menytrad) {
        m_pa[size_t(post.meny)] = post.lage != Menystart::Av;
        m_synlig[size_t(post.meny)] = post.lage != Menystart::Dold;
    }
}

void TestFonstervard::registreraFonster(const QString& namn, Fonsterfabrik fabrik, Menylagen menylagen) {
    m_register.insert(namn, {std::move(fabrik), std::move(menylagen)});
}

QWidget* TestFonstervard::visaFonster(const QString& namn, std::optional<QPoint>) {
    if (QWidget* finns = fonster(namn))
        return finns;
    const auto reg = m_register.constFind(namn);
    if (reg == m_register.constEnd())
        return nullptr;
    Q_ASSERT(m_kontext);
    QWidget* w = reg->fabrik(*m_kontext);
    if (!w)
        return nullptr;
    m_kontext->oppnas(reg->lagen);
    const Menylagen lagen = reg->lagen;
    Formkontext* k = m_kontext;
    QObject::connect(w, &QObject::destroyed, k, [k, lagen] { k->stangdes(lagen); });
    w->setAttribute(Qt::WA_DeleteOnClose);
    m_oppna.insert(namn, w);
    w->show();
    return w;
}

QWidget* TestFonstervard::fonster(const QString& namn) const {
    const QPointer<QWidget> w = m_oppna.value(namn);
    return w && w->isVisible() ? w.data() : nullptr;
}

bool TestFonstervard::stangFonster(QWidget* fonster) {
    return fonster->close();
}

void TestFonstervard::forstorOppna() {
    const QList<QPointer<QWidget>> oppna = m_oppna.values();
    m_oppna.clear();
    for (const QPointer<QWidget>& w : oppna)
        delete w.data();
}
