#include "GlazeCore/chemistry/Limits.h"

namespace GlazeCore::Limits {

namespace {

const char* const hesselberthRoyNote =
    "Ranges from John Hesselberth and Ron Roy's article on stable glazes in Ceramics Monthly, September 2000, "
    "as reproduced in a 2012 university glaze-chemistry handout. The cone 6 KNaO range of 0.1 to 0.3 follows "
    "the article; the handout prints it as .01 to .03. KNaO is checked as K2O + Na2O together. Oxides for which "
    "the source gives no range get no verdict.";

const char* const cushingNote =
    "Ranges from Val Cushing's handbook of glaze chemistry, as reproduced in the same 2012 university "
    "glaze-chemistry handout. Every value was compared cell by cell with a 2002 thesis that tabulates the "
    "handbook's third edition (1994), and the two agree. KNaO is checked as K2O + Na2O together. The PbO ranges "
    "of the source are not included.";

struct Span {
    double min;
    double max;
};

LimitRange alkali(Span s) {
    return {Oxide::K2O, s.min, s.max, std::vector<Oxide>{Oxide::Na2O}};
}

LimitRange single(Oxide oxide, Span s) {
    return {oxide, s.min, s.max, std::nullopt};
}

/// The Cushing sets share one layout; only the spans differ.
LimitSet cushing(std::string id, std::string name, std::string cone, Span kNaO, Span li2O, Span znO, Span caO, Span mgO,
                 Span baO, Span srO, Span al2O3, Span b2O3, Span siO2) {
    return {std::move(id),
            std::move(name),
            std::move(cone),
            {alkali(kNaO), single(Oxide::Li2O, li2O), single(Oxide::ZnO, znO), single(Oxide::CaO, caO),
             single(Oxide::MgO, mgO), single(Oxide::BaO, baO), single(Oxide::SrO, srO), single(Oxide::Al2O3, al2O3),
             single(Oxide::B2O3, b2O3), single(Oxide::SiO2, siO2)},
            cushingNote};
}

std::vector<LimitSet> build() {
    std::vector<LimitSet> sets;
    sets.push_back({"hr-cone6",
                    "Hesselberth & Roy, cone 6",
                    "6",
                    {alkali({0.1, 0.3}), single(Oxide::CaO, {0.2, 0.6}), single(Oxide::MgO, {0, 0.3}),
                     single(Oxide::ZnO, {0, 0.2}), single(Oxide::SrO, {0, 0.2}), single(Oxide::Al2O3, {0.25, 0.4}),
                     single(Oxide::B2O3, {0.15, 0.35}), single(Oxide::SiO2, {2.5, 4.0})},
                    hesselberthRoyNote});
    sets.push_back({"hr-cone10",
                    "Hesselberth & Roy, cone 10",
                    "10",
                    {alkali({0.1, 0.3}), single(Oxide::CaO, {0.3, 0.7}), single(Oxide::MgO, {0, 0.4}),
                     single(Oxide::SrO, {0, 0.3}), single(Oxide::Al2O3, {0.3, 0.6}), single(Oxide::B2O3, {0, 0.3}),
                     single(Oxide::SiO2, {3.0, 5.0})},
                    hesselberthRoyNote});
    //                 KNaO         Li2O      ZnO        CaO          MgO        BaO        SrO
    //                 Al2O3        B2O3      SiO2
    sets.push_back(cushing("cushing-c5-6-gloss", "Cushing, cone 5-6 gloss", "5-6", {0.05, 0.6}, {0, 0.5}, {0, 0.15},
                           {0.05, 0.6}, {0, 0.1}, {0, 0.15}, {0, 0.15}, {0.1, 0.3}, {0, 1.0}, {1.5, 4.0}));
    sets.push_back(cushing("cushing-c5-6-satin", "Cushing, cone 5-6 satin", "5-6", {0.05, 0.35}, {0, 0.15}, {0, 0.3},
                           {0.05, 0.7}, {0, 0.35}, {0, 0.35}, {0, 0.35}, {0.2, 0.4}, {0, 0.5}, {2.0, 3.5}));
    sets.push_back(cushing("cushing-c5-6-matt", "Cushing, cone 5-6 matt", "5-6", {0.05, 0.3}, {0, 0.1}, {0, 0.4},
                           {0.05, 0.8}, {0, 0.45}, {0, 0.5}, {0, 0.5}, {0.2, 0.5}, {0, 0.5}, {2.0, 3.0}));
    sets.push_back(cushing("cushing-c9-10-gloss", "Cushing, cone 9-10 gloss", "9-10", {0.05, 0.5}, {0, 0.4}, {0, 0.15},
                           {0.05, 0.8}, {0, 0.15}, {0, 0.15}, {0, 0.15}, {0.2, 0.5}, {0, 0.5}, {2.0, 6.0}));
    sets.push_back(cushing("cushing-c9-10-satin", "Cushing, cone 9-10 satin", "9-10", {0.05, 0.4}, {0, 0.2}, {0, 0.4},
                           {0.05, 0.8}, {0, 0.5}, {0, 0.5}, {0, 0.5}, {0.25, 0.6}, {0, 0.4}, {2.0, 5.0}));
    sets.push_back(cushing("cushing-c9-10-matt", "Cushing, cone 9-10 matt", "9-10", {0.05, 0.3}, {0, 0.1}, {0, 0.5},
                           {0.05, 0.9}, {0, 0.6}, {0, 0.6}, {0, 0.6}, {0.25, 0.8}, {0, 0.2}, {2.0, 5.0}));
    return sets;
}

} // namespace

const std::vector<LimitSet>& referenceSets() {
    static const std::vector<LimitSet> sets = build();
    return sets;
}

} // namespace GlazeCore::Limits
