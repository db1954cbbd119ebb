#include "GlazeCore/text/OxideText.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace GlazeCore;

TEST(OxideTextFormula, digitsBecomeSubscripts) {
    EXPECT_EQ(OxideText::formula(Oxide::Al2O3), "Al₂O₃");
    EXPECT_EQ(OxideText::formula(Oxide::P2O5), "P₂O₅");
    EXPECT_EQ(OxideText::formula(Oxide::MgO), "MgO");
    for (const Oxide oxide : OxideNames::allCases()) {
        const std::string shown = OxideText::formula(oxide);
        EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), [](char c) { return c >= '0' && c <= '9'; })) << shown;
    }
}

TEST(OxideTextSubscripted, mapsEveryDigitAndNothingElse) {
    EXPECT_EQ(OxideText::subscripted("0123456789"), "₀₁₂₃₄₅₆₇₈₉");
    EXPECT_EQ(OxideText::subscripted("cone 6, 1.5 g"), "cone ₆, ₁.₅ g");
    EXPECT_EQ(OxideText::subscripted(""), "");
    EXPECT_EQ(OxideText::subscripted("Glasur ä"), "Glasur ä");
    EXPECT_EQ(OxideText::subscripted("ä2"), "ä₂");
    EXPECT_EQ(OxideText::subscripted("\u0663"), "\u0663"); // Arabic-Indic three is not one of the ten
    EXPECT_EQ(OxideText::subscripted("\xff"
                                     "2"),
              "\xff"
              "₂");
}

TEST(OxideTextSubscripted, digitJoinedWithMarksIsNotADigit) {
    EXPECT_EQ(OxideText::subscripted("2\u0301 3"), "2\u0301 ₃");
    EXPECT_EQ(OxideText::subscripted("1\uFE0F\u20E3"), "1\uFE0F\u20E3"); // keycap one
}

TEST(OxideTextSubscriptedText, wholeFormulasOnly) {
    EXPECT_EQ(OxideText::subscriptedText("Raise B2O3 and lower Al2O3 at cone 6."),
              "Raise B₂O₃ and lower Al₂O₃ at cone 6.");
    EXPECT_EQ(OxideText::subscriptedText("cone 6"), "cone 6");
    EXPECT_EQ(OxideText::subscriptedText("XSiO2"), "XSiO2");
    EXPECT_EQ(OxideText::subscriptedText("2SiO2"), "2SiO2");
    EXPECT_EQ(OxideText::subscriptedText("SiO2x"), "SiO2x");
    EXPECT_EQ(OxideText::subscriptedText("SiO2_"), "SiO2_");
    EXPECT_EQ(OxideText::subscriptedText("SiO2SiO2"), "SiO2SiO2");
    EXPECT_EQ(OxideText::subscriptedText("sio2 SIO2"), "sio2 SIO2");
    EXPECT_EQ(OxideText::subscriptedText(""), "");
}

TEST(OxideTextSubscriptedText, punctuationAndNumbersAroundFormulas) {
    EXPECT_EQ(OxideText::subscriptedText("SiO2:Al2O3 ratio 7.5"), "SiO₂:Al₂O₃ ratio 7.5");
    EXPECT_EQ(OxideText::subscriptedText("(SiO2/Al2O3)"), "(SiO₂/Al₂O₃)");
    EXPECT_EQ(OxideText::subscriptedText("Fe2O3-rich, 0.25 K2O"), "Fe₂O₃-rich, 0.25 K₂O");
    EXPECT_EQ(OxideText::subscriptedText("SiO2 SiO2"), "SiO₂ SiO₂");
    EXPECT_EQ(OxideText::subscriptedText("Li2O Na2O K2O MgO CaO SrO BaO ZnO PbO MnO CoO CuO NiO"),
              "Li₂O Na₂O K₂O MgO CaO SrO BaO ZnO PbO MnO CoO CuO NiO");
    EXPECT_EQ(OxideText::subscriptedText("TiO2 ZrO2 SnO2 Cr2O3 P2O5"), "TiO₂ ZrO₂ SnO₂ Cr₂O₃ P₂O₅");
}

TEST(OxideTextSubscriptedText, nonAsciiNeighboursAndBytesSurvive) {
    EXPECT_EQ(OxideText::subscriptedText("über SiO2 – 5 %"), "über SiO₂ – 5 %");
    EXPECT_EQ(OxideText::subscriptedText("Al₂O₃ und B2O3"), "Al₂O₃ und B₂O₃");
    EXPECT_EQ(OxideText::subscriptedText("éSiO2 SiO2é"), "éSiO2 SiO2é"); // letters glue in any script
    EXPECT_EQ(OxideText::subscriptedText("SiO2\u0301"), "SiO2\u0301");
    EXPECT_EQ(OxideText::subscriptedText("\xff"
                                         "SiO2 \xfe"),
              "\xff"
              "SiO₂ \xfe");
}
