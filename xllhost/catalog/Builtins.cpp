#include "catalog/Builtins.h"

#include <iterator>

#include "builtins/Aggregates.h"
#include "builtins/BaseConversions.h"
#include "builtins/Bits.h"
#include "builtins/ConditionalAggregates.h"
#include "builtins/Conditionals.h"
#include "builtins/DateDifferences.h"
#include "builtins/DateFunctions.h"
#include "builtins/InformationFunctions.h"
#include "builtins/NumberTexts.h"
#include "builtins/Rounding.h"
#include "builtins/ScalarFunctions.h"
#include "builtins/TextEdits.h"
#include "builtins/TextFunctions.h"
#include "builtins/TextSplit.h"
#include "builtins/Trigonometry.h"
#include "builtins/WholeNumbers.h"
#include "builtins/WorkingDays.h"
#include "lookup/ArrayFunctions.h"
#include "lookup/Sorting.h"
#include "lookup/Lookups.h"
#include "lookup/RangeFunctions.h"
#include "lookup/ReferenceInformation.h"
#include "numerics/Complex.h"
#include "numerics/Database.h"
#include "numerics/Depreciation.h"
#include "numerics/DiscreteDistributions.h"
#include "numerics/Distributions.h"
#include "numerics/Financial.h"
#include "numerics/GammaAndErf.h"
#include "numerics/Payments.h"
#include "numerics/Percentiles.h"
#include "numerics/Regression.h"
#include "numerics/Returns.h"
#include "numerics/Statistics.h"

namespace xllhost {
namespace {

constexpr int Many = 255;

// The worksheet functions xllhost calculates, and the most common of those it does not, by their numbers
// in Excel's function table ([MS-XLS] Ftab; IFERROR, COUNTIFS, SUMIFS, AVERAGEIF and AVERAGEIFS by the C
// API's, 480 to 484; later ones, and those from the Analysis ToolPak, without one): the only place a
// worksheet function's number is written, which the transcript's names of function numbers read too. A
// call of a function without a calculation leaves its cell not calculated.
const Builtin Table[] = {
    {"SUM", 4, 0, Many, Sum, nullptr}, {"PRODUCT", 183, 0, Many, ProductOf, nullptr},
    {"MIN", 6, 0, Many, MinOf, nullptr}, {"MAX", 7, 0, Many, MaxOf, nullptr}, {"AVERAGE", 5, 1, Many, Average, nullptr},
    {"ABS", 24, 1, 1, Abs, nullptr}, {"SQRT", 20, 1, 1, Sqrt, nullptr}, {"EXP", 21, 1, 1, Exp, nullptr},
    {"LN", 22, 1, 1, Ln, nullptr}, {"LOG", 109, 1, 2, Log, nullptr}, {"LOG10", 23, 1, 1, Log10, nullptr},
    {"SIGN", 26, 1, 1, Sign, nullptr}, {"SIN", 15, 1, 1, Sin, nullptr}, {"COS", 16, 1, 1, Cos, nullptr},
    {"TAN", 17, 1, 1, Tan, nullptr}, {"ASIN", 98, 1, 1, Asin, nullptr}, {"ACOS", 99, 1, 1, Acos, nullptr},
    {"ATAN", 18, 1, 1, Atan, nullptr}, {"ATAN2", 97, 2, 2, Atan2, nullptr}, {"POWER", 337, 2, 2, Power, nullptr},
    {"ROUND", 27, 2, 2, Round, nullptr}, {"ROUNDUP", 212, 2, 2, RoundUp, nullptr},
    {"ROUNDDOWN", 213, 2, 2, RoundDown, nullptr}, {"TRUNC", 197, 1, 2, RoundDown, nullptr},
    {"INT", 25, 1, 1, Int, nullptr}, {"MOD", 39, 2, 2, Mod, nullptr}, {"PI", 19, 0, 0, Pi, nullptr},
    {"IF", 1, 2, 3, If, ChooseIf}, {"AND", 36, 1, Many, And, nullptr}, {"OR", 37, 1, Many, Or, nullptr},
    {"NOT", 38, 1, 1, Not, nullptr}, {"IFERROR", 480, 2, 2, IfError, ChooseIfError},
    {"ISERROR", 3, 1, 1, IsError, nullptr}, {"ISNA", 2, 1, 1, IsNa, nullptr}, {"ISBLANK", 129, 1, 1, IsBlank, nullptr},
    {"NA", 10, 0, 0, Na, nullptr}, {"TRUE", 34, 0, 0, True, nullptr}, {"FALSE", 35, 0, 0, False, nullptr},
    {"LEN", 32, 1, 1, Len, nullptr}, {"CONCATENATE", 336, 1, Many, Concatenate, nullptr},
    {"CODE", 121, 1, 1, Code, nullptr}, {"CHAR", 111, 1, 1, Char, nullptr}, {"FIND", 124, 2, 3, Find, nullptr},
    {"ROWS", 76, 1, 1, Rows, nullptr}, {"COLUMNS", 77, 1, 1, Columns, nullptr}, {"INDEX", 29, 2, 3, Index, nullptr},
    {"TRANSPOSE", 83, 1, 1, Transpose, nullptr}, {"VLOOKUP", 102, 3, 4, VLookup, nullptr},
    {"HLOOKUP", 101, 3, 4, HLookup, nullptr}, {"OFFSET", 78, 3, 5, Offset, nullptr},
    {"INDIRECT", 148, 1, 2, Indirect, nullptr}, {"CHOOSE", 100, 2, Many, Choose, ChooseIndexed},
    {"COUNT", 0, 1, Many, Count, nullptr}, {"ROW", 8, 0, 1, Row, nullptr}, {"COLUMN", 9, 0, 1, Column, nullptr},
    {"MID", 31, 3, 3, Mid, nullptr}, {"VALUE", 33, 1, 1, ValueOf, nullptr}, {"MATCH", 64, 2, 3, Match, nullptr},
    {"DATE", 65, 3, 3, Date, nullptr}, {"DAY", 67, 1, 1, Day, nullptr}, {"MONTH", 68, 1, 1, Month, nullptr},
    {"YEAR", 69, 1, 1, Year, nullptr}, {"LEFT", 115, 1, 2, Left, nullptr}, {"RIGHT", 116, 1, 2, Right, nullptr},
    {"ISTEXT", 127, 1, 1, IsText, nullptr}, {"ISNUMBER", 128, 1, 1, IsNumber, nullptr},
    {"COUNTA", 169, 1, Many, CountA, nullptr}, {"SUMPRODUCT", 228, 1, Many, SumProduct, nullptr},
    {"SUMIF", 345, 2, 3, SumIf, nullptr}, {"COUNTIF", 346, 2, 2, CountIf, nullptr},
    {"FLOOR", 285, 2, 2, Floor, nullptr}, {"PV", 56, 3, 5, Pv, nullptr}, {"FV", 57, 3, 5, Fv, nullptr},
    {"NPER", 58, 3, 5, Nper, nullptr}, {"PMT", 59, 3, 5, Pmt, nullptr}, {"CEILING", 288, 2, 2, Ceiling, nullptr},
    {"REPT", 30, 2, 2, Rept, nullptr}, {"LOWER", 112, 1, 1, LowerCase, nullptr},
    {"UPPER", 113, 1, 1, UpperCase, nullptr}, {"TRIM", 118, 1, 1, TrimSpaces, nullptr},
    {"SINH", 229, 1, 1, Sinh, nullptr}, {"COSH", 230, 1, 1, Cosh, nullptr}, {"TANH", 231, 1, 1, Tanh, nullptr},
    {"ASINH", 232, 1, 1, Asinh, nullptr}, {"ACOSH", 233, 1, 1, Acosh, nullptr}, {"ATANH", 234, 1, 1, Atanh, nullptr},
    {"RADIANS", 342, 1, 1, Radians, nullptr}, {"DEGREES", 343, 1, 1, Degrees, nullptr},
    {"EVEN", 279, 1, 1, Even, nullptr}, {"ODD", 298, 1, 1, Odd, nullptr}, {"FACT", 184, 1, 1, Fact, nullptr},
    {"COMBIN", 276, 2, 2, Combin, nullptr}, {"STDEV", 12, 1, Many, StDev, nullptr},
    {"STDEVP", 193, 1, Many, StDevP, nullptr}, {"VAR", 46, 1, Many, Var, nullptr},
    {"VARP", 194, 1, Many, VarP, nullptr}, {"DEVSQ", 318, 1, Many, DevSq, nullptr},
    {"AVEDEV", 269, 1, Many, AveDev, nullptr}, {"SUMSQ", 321, 1, Many, SumSq, nullptr},
    {"GEOMEAN", 319, 1, Many, GeoMean, nullptr}, {"HARMEAN", 320, 1, Many, HarMean, nullptr},
    {"MEDIAN", 227, 1, Many, Median, nullptr}, {"MODE", 330, 1, Many, Mode, nullptr},
    {"LARGE", 325, 2, 2, Large, nullptr}, {"SMALL", 326, 2, 2, Small, nullptr}, {"NPV", 11, 2, Many, Npv, nullptr},
    {"SLN", 142, 3, 3, Sln, nullptr}, {"SYD", 143, 4, 4, Syd, nullptr}, {"TIME", 66, 3, 3, Time, nullptr},
    {"WEEKDAY", 70, 1, 2, Weekday, nullptr}, {"HOUR", 71, 1, 1, Hour, nullptr}, {"MINUTE", 72, 1, 1, Minute, nullptr},
    {"SECOND", 73, 1, 1, Second, nullptr}, {"SEARCH", 82, 2, 3, Search, nullptr},
    {"SUBSTITUTE", 120, 3, 4, Substitute, nullptr}, {"REPLACE", 119, 4, 4, Replace, nullptr},
    {"EXACT", 117, 2, 2, Exact, nullptr}, {"CLEAN", 162, 1, 1, Clean, nullptr}, {"PROPER", 114, 1, 1, Proper, nullptr},
    {"TYPE", 86, 1, 1, TypeOf, nullptr}, {"ERROR.TYPE", 261, 1, 1, ErrorType, nullptr},
    {"ISERR", 126, 1, 1, IsErr, nullptr}, {"ISLOGICAL", 198, 1, 1, IsLogical, nullptr},
    {"ISNONTEXT", 190, 1, 1, IsNonText, nullptr}, {"N", 131, 1, 1, NumberOf, nullptr},
    {"T", 130, 1, 1, TextOf, nullptr}, {"COUNTIFS", 481, 2, Many, CountIfs, nullptr},
    {"SUMIFS", 482, 3, Many, SumIfs, nullptr}, {"AVERAGEIF", 483, 2, 3, AverageIf, nullptr},
    {"AVERAGEIFS", 484, 3, Many, AverageIfs, nullptr}, {"EDATE", NoNumber, 2, 2, EDate, nullptr},
    {"EOMONTH", NoNumber, 2, 2, EoMonth, nullptr}, {"MROUND", NoNumber, 2, 2, MRound, nullptr},
    {"QUOTIENT", NoNumber, 2, 2, Quotient, nullptr}, {"ISEVEN", NoNumber, 1, 1, IsEven, nullptr},
    {"ISODD", NoNumber, 1, 1, IsOdd, nullptr}, {"IFNA", NoNumber, 2, 2, IfNa, ChooseIfNa},
    {"XOR", NoNumber, 1, Many, Xor, nullptr}, {"CONCAT", NoNumber, 1, Many, Concat, nullptr},
    {"TEXTJOIN", NoNumber, 3, Many, TextJoin, nullptr}, {"NORMDIST", 293, 4, 4, NormDist, nullptr},
    {"NORMSDIST", 294, 1, 1, NormSDist, nullptr}, {"NORMINV", 295, 3, 3, NormInv, nullptr},
    {"NORMSINV", 296, 1, 1, NormSInv, nullptr}, {"STANDARDIZE", 297, 3, 3, Standardize, nullptr},
    {"LOGNORMDIST", 290, 3, 3, LogNormDist, nullptr}, {"LOGINV", 291, 3, 3, LogInv, nullptr},
    {"EXPONDIST", 280, 3, 3, ExponDist, nullptr}, {"GAMMADIST", 286, 4, 4, GammaDist, nullptr},
    {"GAMMAINV", 287, 3, 3, GammaInv, nullptr}, {"GAMMALN", 271, 1, 1, GammaLn, nullptr},
    {"BETADIST", 270, 3, 5, BetaDist, nullptr}, {"BETAINV", 272, 3, 5, BetaInv, nullptr},
    {"WEIBULL", 302, 4, 4, Weibull, nullptr}, {"TDIST", 301, 3, 3, TDist, nullptr},
    {"TINV", 332, 2, 2, TInv2T, nullptr}, {"CHIDIST", 274, 2, 2, ChiDist, nullptr},
    {"CHIINV", 275, 2, 2, ChiInv, nullptr}, {"FDIST", 281, 3, 3, FDist, nullptr}, {"FINV", 282, 3, 3, FInv, nullptr},
    {"BINOMDIST", 273, 4, 4, BinomDist, nullptr}, {"CRITBINOM", 278, 3, 3, CritBinom, nullptr},
    {"POISSON", 300, 3, 3, Poisson, nullptr}, {"HYPGEOMDIST", 289, 4, 4, HypGeomDist, nullptr},
    {"NEGBINOMDIST", 292, 3, 3, NegBinomDist, nullptr}, {"FISHER", 283, 1, 1, Fisher, nullptr},
    {"FISHERINV", 284, 1, 1, FisherInv, nullptr}, {"CONFIDENCE", 277, 3, 3, Confidence, nullptr},
    {"NORM.DIST", NoNumber, 4, 4, NormDist, nullptr}, {"NORM.S.DIST", NoNumber, 2, 2, NormSDist2010, nullptr},
    {"NORM.INV", NoNumber, 3, 3, NormInv, nullptr}, {"NORM.S.INV", NoNumber, 1, 1, NormSInv, nullptr},
    {"LOGNORM.DIST", NoNumber, 4, 4, LogNormDist2010, nullptr}, {"LOGNORM.INV", NoNumber, 3, 3, LogInv, nullptr},
    {"EXPON.DIST", NoNumber, 3, 3, ExponDist, nullptr}, {"GAMMA.DIST", NoNumber, 4, 4, GammaDist, nullptr},
    {"GAMMA.INV", NoNumber, 3, 3, GammaInv, nullptr}, {"GAMMALN.PRECISE", NoNumber, 1, 1, GammaLn, nullptr},
    {"GAMMA", NoNumber, 1, 1, Gamma, nullptr}, {"BETA.DIST", NoNumber, 4, 6, BetaDist2010, nullptr},
    {"BETA.INV", NoNumber, 3, 5, BetaInv, nullptr}, {"WEIBULL.DIST", NoNumber, 4, 4, Weibull, nullptr},
    {"T.DIST", NoNumber, 3, 3, TDist2010, nullptr}, {"T.DIST.2T", NoNumber, 2, 2, TDist2T, nullptr},
    {"T.DIST.RT", NoNumber, 2, 2, TDistRT, nullptr}, {"T.INV", NoNumber, 2, 2, TInv, nullptr},
    {"T.INV.2T", NoNumber, 2, 2, TInv2T, nullptr}, {"CHISQ.DIST", NoNumber, 3, 3, ChiSqDist, nullptr},
    {"CHISQ.DIST.RT", NoNumber, 2, 2, ChiDist, nullptr}, {"CHISQ.INV", NoNumber, 2, 2, ChiSqInv, nullptr},
    {"CHISQ.INV.RT", NoNumber, 2, 2, ChiInv, nullptr}, {"F.DIST", NoNumber, 4, 4, FDist2010, nullptr},
    {"F.DIST.RT", NoNumber, 3, 3, FDist, nullptr}, {"F.INV", NoNumber, 3, 3, FInvLeft, nullptr},
    {"F.INV.RT", NoNumber, 3, 3, FInv, nullptr}, {"BINOM.DIST", NoNumber, 4, 4, BinomDist, nullptr},
    {"BINOM.INV", NoNumber, 3, 3, CritBinom, nullptr}, {"POISSON.DIST", NoNumber, 3, 3, Poisson, nullptr},
    {"HYPGEOM.DIST", NoNumber, 5, 5, HypGeomDist2010, nullptr}, {"SORTBY", NoNumber, 2, Many, SortBy, nullptr},
    {"NEGBINOM.DIST", NoNumber, 4, 4, NegBinomDist2010, nullptr}, {"TEXTSPLIT", NoNumber, 2, 6, TextSplit, nullptr},
    {"CONFIDENCE.NORM", NoNumber, 3, 3, Confidence, nullptr}, {"ERF", NoNumber, 1, 2, Erf, nullptr},
    {"ERF.PRECISE", NoNumber, 1, 1, Erf, nullptr}, {"ERFC", NoNumber, 1, 1, Erfc, nullptr},
    {"ERFC.PRECISE", NoNumber, 1, 1, Erfc, nullptr}, {"PHI", NoNumber, 1, 1, Phi, nullptr},
    {"GAUSS", NoNumber, 1, 1, Gauss, nullptr}, {"ROMAN", 354, 1, 2, Roman, nullptr},
    {"ARABIC", NoNumber, 1, 1, Arabic, nullptr}, {"GCD", NoNumber, 1, Many, Gcd, nullptr},
    {"LCM", NoNumber, 1, Many, Lcm, nullptr}, {"DEC2BIN", NoNumber, 1, 2, Dec2Bin, nullptr},
    {"DEC2OCT", NoNumber, 1, 2, Dec2Oct, nullptr}, {"DEC2HEX", NoNumber, 1, 2, Dec2Hex, nullptr},
    {"BIN2DEC", NoNumber, 1, 1, Bin2Dec, nullptr}, {"BIN2OCT", NoNumber, 1, 2, Bin2Oct, nullptr},
    {"BIN2HEX", NoNumber, 1, 2, Bin2Hex, nullptr}, {"OCT2DEC", NoNumber, 1, 1, Oct2Dec, nullptr},
    {"OCT2BIN", NoNumber, 1, 2, Oct2Bin, nullptr}, {"OCT2HEX", NoNumber, 1, 2, Oct2Hex, nullptr},
    {"HEX2DEC", NoNumber, 1, 1, Hex2Dec, nullptr}, {"HEX2BIN", NoNumber, 1, 2, Hex2Bin, nullptr},
    {"HEX2OCT", NoNumber, 1, 2, Hex2Oct, nullptr}, {"IPMT", 167, 4, 6, Ipmt, nullptr},
    {"PPMT", 168, 4, 6, Ppmt, nullptr}, {"RATE", 60, 3, 6, Rate, nullptr}, {"IRR", 62, 1, 2, Irr, nullptr},
    {"MIRR", 61, 3, 3, Mirr, nullptr}, {"DDB", 144, 4, 5, Ddb, nullptr}, {"DB", 247, 4, 5, Db, nullptr},
    {"ISPMT", 350, 4, 4, IsPmt, nullptr}, {"CUMIPMT", NoNumber, 6, 6, CumIpmt, nullptr},
    {"CUMPRINC", NoNumber, 6, 6, CumPrinc, nullptr}, {"XNPV", NoNumber, 3, 3, Xnpv, nullptr},
    {"EFFECT", NoNumber, 2, 2, Effect, nullptr}, {"NOMINAL", NoNumber, 2, 2, Nominal, nullptr},
    {"FVSCHEDULE", NoNumber, 2, 2, FvSchedule, nullptr}, {"PDURATION", NoNumber, 3, 3, PDuration, nullptr},
    {"RRI", NoNumber, 3, 3, Rri, nullptr}, {"DAYS360", 220, 2, 3, Days360, nullptr},
    {"DATEDIF", 351, 3, 3, DateDif, nullptr}, {"DAYS", NoNumber, 2, 2, Days, nullptr},
    {"YEARFRAC", NoNumber, 2, 3, YearFrac, nullptr}, {"WEEKNUM", NoNumber, 1, 2, WeekNum, nullptr},
    {"ISOWEEKNUM", NoNumber, 1, 1, IsoWeekNum, nullptr}, {"NETWORKDAYS", NoNumber, 2, 3, NetworkDays, nullptr},
    {"NETWORKDAYS.INTL", NoNumber, 2, 4, NetworkDaysIntl, nullptr}, {"WORKDAY", NoNumber, 2, 3, WorkDay, nullptr},
    {"WORKDAY.INTL", NoNumber, 2, 4, WorkDayIntl, nullptr}, {"FLOOR.MATH", NoNumber, 1, 3, FloorMath, nullptr},
    {"CEILING.MATH", NoNumber, 1, 3, CeilingMath, nullptr}, {"FLOOR.PRECISE", NoNumber, 1, 2, FloorPrecise, nullptr},
    {"CEILING.PRECISE", NoNumber, 1, 2, CeilingPrecise, nullptr},
    {"ISO.CEILING", NoNumber, 1, 2, CeilingPrecise, nullptr}, {"STDEV.S", NoNumber, 1, Many, StDev, nullptr},
    {"STDEV.P", NoNumber, 1, Many, StDevP, nullptr}, {"VAR.S", NoNumber, 1, Many, Var, nullptr},
    {"VAR.P", NoNumber, 1, Many, VarP, nullptr}, {"MODE.SNGL", NoNumber, 1, Many, Mode, nullptr},
    {"COUNTBLANK", 347, 1, 1, CountBlank, nullptr}, {"SKEW", 323, 1, Many, Skew, nullptr},
    {"SKEW.P", NoNumber, 1, Many, SkewP, nullptr}, {"KURT", 322, 1, Many, Kurt, nullptr},
    {"TRIMMEAN", 331, 2, 2, TrimMean, nullptr}, {"PERCENTILE", 328, 2, 2, PercentileInc, nullptr},
    {"QUARTILE", 327, 2, 2, QuartileInc, nullptr}, {"PERCENTILE.INC", NoNumber, 2, 2, PercentileInc, nullptr},
    {"PERCENTILE.EXC", NoNumber, 2, 2, PercentileExc, nullptr}, {"QUARTILE.INC", NoNumber, 2, 2, QuartileInc, nullptr},
    {"QUARTILE.EXC", NoNumber, 2, 2, QuartileExc, nullptr}, {"RANK", 216, 2, 3, RankEq, nullptr},
    {"RANK.EQ", NoNumber, 2, 3, RankEq, nullptr}, {"RANK.AVG", NoNumber, 2, 3, RankAvg, nullptr},
    {"CORREL", 307, 2, 2, Correl, nullptr}, {"PEARSON", 312, 2, 2, Pearson, nullptr}, {"RSQ", 313, 2, 2, Rsq, nullptr},
    {"SLOPE", 315, 2, 2, Slope, nullptr}, {"INTERCEPT", 311, 2, 2, Intercept, nullptr},
    {"STEYX", 314, 2, 2, Steyx, nullptr}, {"FORECAST", 309, 3, 3, Forecast, nullptr},
    {"FORECAST.LINEAR", NoNumber, 3, 3, Forecast, nullptr}, {"COVAR", 308, 2, 2, CovarianceP, nullptr},
    {"COVARIANCE.P", NoNumber, 2, 2, CovarianceP, nullptr}, {"COVARIANCE.S", NoNumber, 2, 2, CovarianceS, nullptr},
    {"SUMX2MY2", 304, 2, 2, SumX2MY2, nullptr}, {"SUMX2PY2", 305, 2, 2, SumX2PY2, nullptr},
    {"SUMXMY2", 303, 2, 2, SumXMY2, nullptr}, {"LOOKUP", 28, 2, 3, LookupOf, nullptr},
    {"ADDRESS", 219, 2, 5, Address, nullptr}, {"AREAS", 75, 1, 1, Areas, nullptr},
    {"XLOOKUP", NoNumber, 3, 6, XLookup, nullptr}, {"XMATCH", NoNumber, 2, 4, XMatch, nullptr},
    {"TEXT", 48, 2, 2, TextFormatted, nullptr}, {"IFS", NoNumber, 2, Many, Ifs, ChooseIfs},
    {"SWITCH", NoNumber, 3, Many, Switch, ChooseSwitch}, {"DCOUNT", 40, 3, 3, DCount, nullptr},
    {"DSUM", 41, 3, 3, DSum, nullptr}, {"DAVERAGE", 42, 3, 3, DAverage, nullptr}, {"DMIN", 43, 3, 3, DMin, nullptr},
    {"DMAX", 44, 3, 3, DMax, nullptr}, {"DSTDEV", 45, 3, 3, DStDev, nullptr}, {"DVAR", 47, 3, 3, DVar, nullptr},
    {"DPRODUCT", 189, 3, 3, DProduct, nullptr}, {"DSTDEVP", 195, 3, 3, DStDevP, nullptr},
    {"DVARP", 196, 3, 3, DVarP, nullptr}, {"DCOUNTA", 199, 3, 3, DCountA, nullptr}, {"DGET", 235, 3, 3, DGet, nullptr},
    {"DOLLAR", 13, 1, 2, Dollar, nullptr}, {"FIXED", 14, 1, 3, Fixed, nullptr},
    {"NUMBERVALUE", NoNumber, 1, 3, NumberValueOf, nullptr}, {"UNICODE", NoNumber, 1, 1, Unicode, nullptr},
    {"UNICHAR", NoNumber, 1, 1, Unichar, nullptr}, {"DELTA", NoNumber, 1, 2, Delta, nullptr},
    {"GESTEP", NoNumber, 1, 2, GeStep, nullptr}, {"BITAND", NoNumber, 2, 2, BitAnd, nullptr},
    {"BITOR", NoNumber, 2, 2, BitOr, nullptr}, {"BITXOR", NoNumber, 2, 2, BitXor, nullptr},
    {"BITLSHIFT", NoNumber, 2, 2, BitLShift, nullptr}, {"BITRSHIFT", NoNumber, 2, 2, BitRShift, nullptr},
    {"DATEVALUE", 140, 1, 1, DateValue, nullptr}, {"TIMEVALUE", 141, 1, 1, TimeValue, nullptr},
    {"XIRR", NoNumber, 2, 3, Xirr, nullptr}, {"MAXIFS", NoNumber, 3, Many, MaxIfs, nullptr},
    {"MINIFS", NoNumber, 3, Many, MinIfs, nullptr}, {"CSC", NoNumber, 1, 1, Csc, nullptr},
    {"SEC", NoNumber, 1, 1, Sec, nullptr}, {"COT", NoNumber, 1, 1, Cot, nullptr},
    {"CSCH", NoNumber, 1, 1, Csch, nullptr}, {"SECH", NoNumber, 1, 1, Sech, nullptr},
    {"COTH", NoNumber, 1, 1, Coth, nullptr}, {"ACOT", NoNumber, 1, 1, Acot, nullptr},
    {"ACOTH", NoNumber, 1, 1, Acoth, nullptr}, {"PERMUT", 299, 2, 2, Permut, nullptr},
    {"PERMUTATIONA", NoNumber, 2, 2, PermutationA, nullptr}, {"COMBINA", NoNumber, 2, 2, Combina, nullptr},
    {"FACTDOUBLE", NoNumber, 1, 1, FactDouble, nullptr}, {"SQRTPI", NoNumber, 1, 1, SqrtPi, nullptr},
    {"MULTINOMIAL", NoNumber, 1, Many, Multinomial, nullptr}, {"ISREF", 105, 1, 1, IsRef, nullptr},
    {"ISFORMULA", NoNumber, 1, 1, IsFormula, nullptr}, {"FORMULATEXT", NoNumber, 1, 1, FormulaText, nullptr},
    {"SHEET", NoNumber, 0, 1, SheetNumber, nullptr}, {"SHEETS", NoNumber, 0, 1, SheetCount, nullptr},
    {"MAXA", 362, 1, Many, MaxA, nullptr}, {"MINA", 363, 1, Many, MinA, nullptr},
    {"AVERAGEA", 361, 1, Many, AverageA, nullptr}, {"STDEVA", 366, 1, Many, StDevA, nullptr},
    {"STDEVPA", 364, 1, Many, StDevPA, nullptr}, {"VARA", 367, 1, Many, VarA, nullptr},
    {"VARPA", 365, 1, Many, VarPA, nullptr}, {"BASE", NoNumber, 2, 3, Base, nullptr},
    {"DECIMAL", NoNumber, 2, 2, Decimal, nullptr}, {"TEXTBEFORE", NoNumber, 2, 6, TextBefore, nullptr},
    {"TEXTAFTER", NoNumber, 2, 6, TextAfter, nullptr}, {"COMPLEX", NoNumber, 2, 3, Complex, nullptr},
    {"IMREAL", NoNumber, 1, 1, ImReal, nullptr}, {"IMAGINARY", NoNumber, 1, 1, Imaginary, nullptr},
    {"IMABS", NoNumber, 1, 1, ImAbs, nullptr}, {"IMARGUMENT", NoNumber, 1, 1, ImArgument, nullptr},
    {"IMCONJUGATE", NoNumber, 1, 1, ImConjugate, nullptr}, {"IMSUM", NoNumber, 1, Many, ImSum, nullptr},
    {"IMPRODUCT", NoNumber, 1, Many, ImProduct, nullptr}, {"IMSUB", NoNumber, 2, 2, ImSub, nullptr},
    {"IMDIV", NoNumber, 2, 2, ImDiv, nullptr}, {"IMPOWER", NoNumber, 2, 2, ImPower, nullptr},
    {"IMSQRT", NoNumber, 1, 1, ImSqrt, nullptr}, {"IMEXP", NoNumber, 1, 1, ImExp, nullptr},
    {"IMLN", NoNumber, 1, 1, ImLn, nullptr}, {"IMLOG10", NoNumber, 1, 1, ImLog10, nullptr},
    {"IMLOG2", NoNumber, 1, 1, ImLog2, nullptr}, {"IMSIN", NoNumber, 1, 1, ImSin, nullptr},
    {"IMCOS", NoNumber, 1, 1, ImCos, nullptr}, {"IMTAN", NoNumber, 1, 1, ImTan, nullptr},
    {"IMCOT", NoNumber, 1, 1, ImCot, nullptr}, {"IMSEC", NoNumber, 1, 1, ImSec, nullptr},
    {"IMCSC", NoNumber, 1, 1, ImCsc, nullptr}, {"IMSINH", NoNumber, 1, 1, ImSinh, nullptr},
    {"IMCOSH", NoNumber, 1, 1, ImCosh, nullptr}, {"IMSECH", NoNumber, 1, 1, ImSech, nullptr},
    {"IMCSCH", NoNumber, 1, 1, ImCsch, nullptr}, {"SEQUENCE", NoNumber, 1, 4, Sequence, nullptr},
    {"FILTER", NoNumber, 2, 3, Filter, nullptr}, {"SORT", NoNumber, 1, 4, Sort, nullptr},
    {"UNIQUE", NoNumber, 1, 3, Unique, nullptr}, {"TAKE", NoNumber, 1, 3, Take, nullptr},
    {"DROP", NoNumber, 1, 3, Drop, nullptr}, {"HSTACK", NoNumber, 1, Many, HStack, nullptr},
    {"VSTACK", NoNumber, 1, Many, VStack, nullptr}, {"CHOOSEROWS", NoNumber, 2, Many, ChooseRows, nullptr},
    {"CHOOSECOLS", NoNumber, 2, Many, ChooseCols, nullptr}, {"TOROW", NoNumber, 1, 3, ToRow, nullptr},
    {"TOCOL", NoNumber, 1, 3, ToCol, nullptr}, {"ANCHORARRAY", NoNumber, 1, 1, AnchorArray, nullptr},
    {"PERCENTRANK", 329, 2, 3, PercentRankInc, nullptr}, {"PERCENTRANK.INC", NoNumber, 2, 3, PercentRankInc, nullptr},
    {"VDB", 222, 5, 7, Vdb, nullptr}, {"HYPERLINK", 359, 1, 2, Hyperlink, nullptr},
    {"FREQUENCY", 252, 2, 2, Frequency, nullptr}, {"PROB", 317, 3, 4, Prob, nullptr},
    {"FINDB", 205, 2, 3, Find, nullptr}, {"SEARCHB", 206, 2, 3, Search, nullptr},
    {"REPLACEB", 207, 4, 4, Replace, nullptr}, {"LEFTB", 208, 1, 2, Left, nullptr},
    {"RIGHTB", 209, 1, 2, Right, nullptr}, {"MIDB", 210, 3, 3, Mid, nullptr}, {"LENB", 211, 1, 1, Len, nullptr},
    // Known to Excel, not calculated here.
    {"LINEST", 49, 1, 4, nullptr, nullptr}, {"TREND", 50, 1, 4, nullptr, nullptr},
    {"LOGEST", 51, 1, 4, nullptr, nullptr}, {"GROWTH", 52, 1, 4, nullptr, nullptr},
    {"RAND", 63, 0, 0, nullptr, nullptr}, {"NOW", 74, 0, 0, nullptr, nullptr}, {"CELL", 125, 1, 2, nullptr, nullptr},
    {"TODAY", 221, 0, 0, nullptr, nullptr}, {"RTD", 379, 3, Many, nullptr, nullptr},
};

}  // namespace

BuiltinRows AllBuiltins() { return BuiltinRows{std::begin(Table), std::end(Table)}; }

}  // namespace xllhost
