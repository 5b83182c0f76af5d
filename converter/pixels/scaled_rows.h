// A picture's rows scaled down by area averaging, as they stream from the
// decoder: each pixel of the smaller picture is the mean of the part of the
// larger one it covers, each source pixel weighed by how much of it lies
// there. Only a few rows of either size are held at a time.
#pragma once

#include "row_source.h"

class ScaledRows : public RowSource
{
public:
    // The rows of full (fullWidth x fullHeight) at width x height, no larger
    // on either axis and at least 1 pixel on each.
    ScaledRows(RowSource &full, UINT fullWidth, UINT fullHeight, UINT width, UINT height);
    ~ScaledRows();
    ScaledRows(const ScaledRows &) = delete;
    ScaledRows &operator=(const ScaledRows &) = delete;

    // Takes the memory for the rows in between; false when there is none.
    bool Prepare();
    bool CopyRows(UINT y, UINT count, BYTE *rows, UINT stride) override;

private:
    // Where a source column goes: the first scaled column it lies in, and
    // its weights there and in the next (0 when it lies in one only), in
    // parts of WeightOne.
    struct Column
    {
        UINT target;
        WORD first;
        WORD second;
    };

    bool AddSourceRow(bool *rowComplete);
    void EmitRow(BYTE *out);
    const BYTE *SourceRow(UINT y);

    RowSource &full;
    const UINT fullWidth, fullHeight, width, height;
    Column *columns;
    BYTE *band; // decoded rows of full
    UINT bandTop, bandRows, bandCapacity;
    UINT *down[2]; // source rows summed down: the scaled row being summed, and the next
    UINT *across;  // a summed row, scaled across
    UINT nextSource; // the next source row to add
    UINT nextRow;    // the next scaled row to hand out
};
