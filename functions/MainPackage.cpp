// The registration order is visible only where two entries share a key, but
// it is kept as documented so that a reader can compare the lists directly.
#include "functions/MainPackage.h"

#include "functions/ConstantFunctions.h"
#include "functions/MathFunctions.h"
#include "functions/MinMaxFunctions.h"
#include "functions/MovingAvgSumFunction.h"
#include "functions/NumericSumFunctions.h"
#include "functions/PlotSumFunctions.h"
#include "functions/RowFunctions.h"
#include "functions/SimpleSumFunction.h"
#include "functions/SortSumFunction.h"
#include "functions/ValueFunctions.h"

namespace qv {

MainPackage::MainPackage()
    : m_aggregates(make<TVector<SumFunction>>(12)), m_scalars(make<TVector<Function>>(28)) {
    TVector<Function>& scalars = *m_scalars;
    scalars.add(make<Func_repeat>());
    scalars.add(make<Func_srand>());
    scalars.add(make<Func_pi>());
    scalars.add(make<Func_e>());
    scalars.add(make<Func_sin>());
    scalars.add(make<Func_abs>());
    scalars.add(make<Func_acos>());
    scalars.add(make<Func_asin>());
    scalars.add(make<Func_atan>());
    scalars.add(make<Func_atan2>());
    scalars.add(make<Func_cos>());
    scalars.add(make<Func_exp>());
    scalars.add(make<Func_ln>());
    scalars.add(make<Func_log>());
    scalars.add(make<Func_log10>());
    scalars.add(make<Func_power>());
    scalars.add(make<Func_sign>());
    scalars.add(make<Func_sqrt>());
    scalars.add(make<Func_tan>());
    scalars.add(make<Func_false>());
    scalars.add(make<Func_true>());
    scalars.add(make<Func_prev>());
    scalars.add(make<Func_next>());
    scalars.add(make<Func_row>());
    scalars.add(make<Func_col>());
    scalars.add(make<Func_min>());
    scalars.add(make<Func_max>());
    scalars.add(make<Func_warning>());

    TVector<SumFunction>& aggregates = *m_aggregates;
    aggregates.add(make<SumFunc_concat>());
    aggregates.add(make<SumFunc_sum>());
    aggregates.add(make<SumFunc__or>());
    aggregates.add(make<SumFunc__and>());
    aggregates.add(make<SumFunc_min>());
    aggregates.add(make<SumFunc_max>());
    aggregates.add(make<AvgSumFunction>());
    aggregates.add(make<WavgSumFunction>());
    aggregates.add(make<SortSumFunction>());
    aggregates.add(make<PlotSumFunction>());
    aggregates.add(make<MovingAvgSumFunction>());
    aggregates.add(make<CollectSumFunction>());
}

}  // namespace qv
