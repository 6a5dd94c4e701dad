// The complex numbers, with the examples of Microsoft's help for each
// function, and the texts that are no complex number.
#include "EngineTest.h"

namespace {

TEST(Complex, AnswersAsExcelsExamples) {
  ExpectShown("A1 \"3+4i\"\nA2 \"5-3i\"\nA3 \"1+i\"\n", {
      {"=COMPLEX(3,4)", "3+4i"},                       {"=COMPLEX(3,4,\"j\")", "3+4j"},
      {"=COMPLEX(0,1)", "i"},                          {"=COMPLEX(1,0)", "1"},
      {"=COMPLEX(0,-1)", "-i"},                        {"=COMPLEX(1,2,\"k\")", "#VALUE!"},
      {"=IMREAL(\"6-9i\")", "6"},                      {"=IMAGINARY(\"0-j\")", "-1"},
      {"=IMAGINARY(4)", "0"},                          {"=IMABS(\"5+12i\")", "13"},
      {"=IMARGUMENT(\"3+4i\")", "0.927295218001612"}, {"=IMARGUMENT(0)", "#DIV/0!"},
      {"=IMCONJUGATE(\"3+4i\")", "3-4i"},              {"=IMSUM(\"3+4i\",\"5-3i\")", "8+i"},
      {"=IMSUM(A1:A2)", "8+i"},                        {"=IMSUB(\"13+4i\",\"5+3i\")", "8+i"},
      {"=IMPRODUCT(\"3+4i\",\"5-3i\")", "27+11i"},     {"=IMPRODUCT(\"1+2i\",30)", "30+60i"},
      {"=IMDIV(\"-238+240i\",\"10+24i\")", "5+12i"},   {"=IMDIV(1,0)", "#NUM!"},
      {"=IMPOWER(\"2+3i\",3)", "-46+9.00000000000001i"}, {"=IMSQRT(A3)", "1.09868411346781+0.455089860562227i"},
      {"=IMEXP(A3)", "1.46869393991589+2.28735528717884i"}, {"=IMLN(A1)", "1.6094379124341+0.927295218001612i"},
      {"=IMLOG10(A1)", "0.698970004336019+0.402719196273373i"}, {"=IMLOG2(A1)", "2.32192809488736+1.33780421245098i"},
      {"=IMSIN(\"4+3i\")", "-7.61923172032141-6.548120040911i"}, {"=IMCOS(A3)", "0.833730025131149-0.988897705762865i"},
      {"=IMLN(0)", "#NUM!"},                           {"=IMREAL(\"2.5E+2-1.5E-1j\")", "250"},
  });
}

TEST(Complex, RefusesWhatIsNoComplexNumber) {
  ExpectShown("", {
      {"=IMREAL(\"3+4k\")", "#NUM!"},        {"=IMREAL(\"3 + 4i\")", "#NUM!"},
      {"=IMREAL(\"i3\")", "#NUM!"},          {"=IMSUM(\"1+i\",\"1+j\")", "#VALUE!"},
      {"=IMREAL(TRUE)", "#VALUE!"},          {"=IMREAL(#N/A)", "#N/A"},
  });
}

}  // namespace
