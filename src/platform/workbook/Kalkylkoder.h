#pragma once

// The numbers the list builders pass to the workbook engine and the error numbers
// it answers with. They are the old automation interface's own codes, so a list
// written against that interface reads the same here.
namespace Kalkyl {

namespace Justering {
constexpr int Allman = 1; // text left, numbers right
constexpr int Hoger = -4152;
constexpr int Vanster = -4131;
constexpr int Centrerad = -4108;
} // namespace Justering

namespace Orientering {
constexpr int Staende = 1;
constexpr int Liggande = 2;
} // namespace Orientering

namespace Pappersstorlek {
constexpr int Letter = 1;
constexpr int Legal = 5;
constexpr int A3 = 8;
constexpr int A4 = 9;
constexpr int A5 = 11;
} // namespace Pappersstorlek

namespace Understrykning {
constexpr int Ingen = -4142;
constexpr int Enkel = 2;
constexpr int Dubbel = -4119;
} // namespace Understrykning

// SaveAs formats. Both ask for the engine's one format, Office Open XML.
namespace Filformat {
constexpr int Excel8 = 56;
constexpr int OpenXml = 51;
} // namespace Filformat

// Colours are packed as the old platform packs them: red + green*256 + blue*65536.
constexpr long rgbFarg(int rod, int gron, int bla) {
    return rod + gron * 256L + bla * 65536L;
}
constexpr long Svart = 0;
constexpr long Rod = 255;
constexpr long Vit = 16777215;

namespace Kalkylfel {
constexpr int IndexUtanforIntervallet = 9;
constexpr int TyperMatcharInte = 13;
// The object's workbook is closed or its application has quit.
constexpr int ObjektetFinnsInte = 462;
// The engine refused a value or an operation.
constexpr int Programfel = 1004;
} // namespace Kalkylfel

} // namespace Kalkyl
