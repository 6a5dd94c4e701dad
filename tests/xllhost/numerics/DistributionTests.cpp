// The distributions, the gamma and the error functions, with the examples of
// Microsoft's help for each, rounded as the help shows them, and the
// errors of their domains.
#include "EngineTest.h"

namespace {

TEST(Distributions, AnswerAsExcelsExamples) {
  const xllhost::Workbook book;
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=ROUND(NORMDIST(42,40,1.5,TRUE),7)", "0.9087888"},  {"=ROUND(NORM.DIST(42,40,1.5,FALSE),8)", "0.10934005"},
      {"=ROUND(NORMINV(0.908789,40,1.5),6)", "42.000002"},  {"=ROUND(NORMSDIST(1.333333),9)", "0.908788726"},
      {"=ROUND(NORM.S.DIST(1.333333,FALSE),9)", "0.164010148"}, {"=ROUND(NORMSINV(0.908789),7)", "1.3333347"},
      {"=ROUND(LOGNORMDIST(4,3.5,1.2),7)", "0.0390836"},   {"=ROUND(LOGINV(0.039084,3.5,1.2),7)", "4.0000252"},
      {"=ROUND(LOGNORM.DIST(4,3.5,1.2,FALSE),7)", "0.0176176"},
      {"=ROUND(EXPONDIST(0.2,10,TRUE),8)", "0.86466472"},  {"=ROUND(EXPON.DIST(0.2,10,FALSE),8)", "1.35335283"},
      {"=ROUND(GAMMADIST(10.00001131,9,2,FALSE),6)", "0.032639"}, {"=ROUND(GAMMA.DIST(10.00001131,9,2,TRUE),6)", "0.068094"},
      {"=ROUND(GAMMAINV(0.068094,9,2),7)", "10.0000112"},  {"=ROUND(GAMMALN(4),6)", "1.791759"},
      {"=ROUND(GAMMA(2.5),3)", "1.329"},                   {"=ROUND(GAMMA(-3.75),3)", "0.268"},
      {"=ROUND(BETADIST(2,8,10,1,3),7)", "0.6854706"},     {"=ROUND(BETAINV(0.685470581,8,10,1,3),7)", "2"},
      {"=ROUND(BETA.DIST(2,8,10,FALSE,1,3),7)", "1.4837646"},
      {"=ROUND(WEIBULL(105,20,100,TRUE),6)", "0.929581"},  {"=ROUND(WEIBULL.DIST(105,20,100,FALSE),6)", "0.035589"},
      {"=ROUND(TDIST(1.959999998,60,2),9)", "0.05464493"}, {"=ROUND(TDIST(1.959999998,60,1),9)", "0.027322465"},
      {"=ROUND(T.DIST(60,1,TRUE),8)", "0.99469533"},       {"=ROUND(T.DIST(8,3,FALSE),8)", "0.00073691"},
      {"=ROUND(T.DIST.2T(1.959999998,60),6)", "0.054645"}, {"=ROUND(T.DIST.RT(1.959999998,60),6)", "0.027322"},
      {"=ROUND(TINV(0.05464493,60),6)", "1.96"},          {"=ROUND(T.INV(0.75,2),7)", "0.8164966"},
      {"=ROUND(CHIDIST(18.307,10),7)", "0.0500006"},       {"=ROUND(CHIINV(0.050001,10),6)", "18.306973"},
      {"=ROUND(CHISQ.DIST(0.5,1,TRUE),8)", "0.52049988"},  {"=ROUND(CHISQ.DIST(2,3,FALSE),8)", "0.20755375"},
      {"=ROUND(CHISQ.INV(0.93,1),9)", "3.283020287"},      {"=ROUND(CHISQ.INV(0.6,2),9)", "1.832581464"},
      {"=ROUND(FDIST(15.2069,6,4),6)", "0.01"},            {"=ROUND(FINV(0.01,6,4),6)", "15.206865"},
      {"=ROUND(F.DIST(15.2069,6,4,TRUE),6)", "0.99"},      {"=ROUND(F.DIST(15.2069,6,4,FALSE),7)", "0.0012238"},
      {"=ROUND(F.INV(0.01,6,4),8)", "0.10930991"},
      {"=ROUND(BINOMDIST(6,10,0.5,FALSE),7)", "0.2050781"}, {"=CRITBINOM(6,0.5,0.75)", "4"},
      {"=ROUND(POISSON(2,5,TRUE),6)", "0.124652"},         {"=ROUND(POISSON.DIST(2,5,FALSE),6)", "0.084224"},
      {"=ROUND(HYPGEOMDIST(1,4,8,20),4)", "0.3633"},    {"=ROUND(HYPGEOM.DIST(1,4,8,20,TRUE),4)", "0.4654"},
      {"=ROUND(NEGBINOMDIST(10,5,0.25),8)", "0.05504866"}, {"=ROUND(NEGBINOM.DIST(10,5,0.25,TRUE),7)", "0.3135141"},
      {"=ROUND(FISHER(0.75),7)", "0.9729551"},             {"=ROUND(FISHERINV(0.972955),6)", "0.75"},
      {"=ROUND(CONFIDENCE(0.05,2.5,50),6)", "0.692952"},   {"=ROUND(STANDARDIZE(42,40,1.5),8)", "1.33333333"},
      {"=ROUND(ERF(0.745),8)", "0.70792892"},              {"=ROUND(ERF(1,2),8)", "0.15262147"},
      {"=ROUND(ERFC(1),8)", "0.15729921"},                 {"=ROUND(PHI(0.75),9)", "0.301137432"},
      {"=ROUND(GAUSS(2),8)", "0.47724987"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// Each a fault of the domain Microsoft's help names for the function.
TEST(Distributions, AnswerNumErrorOutsideTheirDomains) {
  const xllhost::Workbook book;
  MemoryHost host;
  for (const char* text :
       {"=NORMDIST(1,0,0,TRUE)", "=NORMSINV(0)", "=NORMINV(1,0,1)", "=LOGNORMDIST(0,0,1)", "=EXPONDIST(-1,1,TRUE)",
        "=GAMMADIST(1,0,1,TRUE)", "=GAMMA(0)", "=GAMMA(-2)", "=GAMMALN(0)", "=BETADIST(4,8,10,1,3)",
        "=BETAINV(0,8,10)", "=WEIBULL(-1,1,1,TRUE)", "=TDIST(-1,10,2)", "=TDIST(1,0,2)", "=TDIST(1,10,3)",
        "=TINV(0,10)", "=CHIDIST(-1,10)", "=CHIINV(2,10)", "=FDIST(1,0,4)", "=BINOMDIST(11,10,0.5,FALSE)",
        "=BINOMDIST(1,10,1.5,FALSE)", "=CRITBINOM(-1,0.5,0.5)", "=POISSON(-1,5,TRUE)", "=HYPGEOMDIST(5,4,8,20)", "=HYPGEOMDIST(1,4,8,1E10)",
        "=NEGBINOMDIST(10,0,0.25)", "=FISHER(1)", "=CONFIDENCE(0,2.5,50)", "=CONFIDENCE(0.05,2.5,0.5)",
        "=STANDARDIZE(1,0,0)"})
    EXPECT_EQ(Shown(book, host, text), "#NUM!") << text;
}

}  // namespace
