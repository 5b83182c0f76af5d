// Integer arithmetic throughout. Down the columns first, a source row's
// weight in a scaled row is the share of the scaled row it covers, in parts
// of 2^8; the sums stay below 2^16. Across, a column's weight is its share
// in parts of 2^14, the sums stay below 2^30, and the result is rounded back
// to 8 bits. Down first, the many source rows cost an
// addition a value each, and only the few scaled rows are summed across.
// Scaling down only, a source pixel lies in at most two scaled pixels, on
// either axis.
#include "scaled_rows.h"

namespace
{
const UINT WeightShift = 14;
const UINT WeightOne = 1u << WeightShift;
// Down the columns, rows are weighed in parts of 2^8: sums below 2^16.
const UINT RowWeightShift = 8;
const UINT RowWeightOne = 1u << RowWeightShift;
// Rows of the source decoded at a time fill about this much.
const UINT BandBytes = 256 * 1024;

// count items of size bytes each, NULL when that is more than a 32-bit
// process could hold (the product would not even fit in a size_t).
void *Allocate(unsigned long long count, size_t size, DWORD flags = 0)
{
    const unsigned long long bytes = count * size;
    if (bytes > 0x7FFFFFFFull)
        return NULL;
    return HeapAlloc(GetProcessHeap(), flags, static_cast<size_t>(bytes));
}

void Release(void *memory)
{
    if (memory != NULL)
        HeapFree(GetProcessHeap(), 0, memory);
}

// Where source pixel index of count goes in scaled, the scaled count: its
// span [index * scaled, (index + 1) * scaled) against the scaled pixels'
// spans of count each. Weights are shares of a scaled pixel in parts of
// one: each is the difference of two points of a scaled pixel's span
// rounded down, so the weights of one scaled pixel always add up to one
// whole, and a picture of one level stays that level.
void Place(UINT index, UINT count, UINT scaled, UINT one, UINT *target, UINT *first, UINT *second)
{
    const unsigned long long start = static_cast<unsigned long long>(index) * scaled;
    const unsigned long long end = start + scaled;
    *target = static_cast<UINT>(start / count);
    const unsigned long long from = static_cast<unsigned long long>(*target) * count;
    const unsigned long long boundary = from + count;
    const unsigned long long to = end < boundary ? end : boundary;
    *first = static_cast<UINT>((to - from) * one / count - (start - from) * one / count);
    *second = end > boundary ? static_cast<UINT>((end - boundary) * one / count) : 0;
}
}

ScaledRows::ScaledRows(RowSource &full, UINT fullWidth, UINT fullHeight, UINT width, UINT height)
    : full(full), fullWidth(fullWidth), fullHeight(fullHeight), width(width), height(height), columns(NULL),
      band(NULL), bandTop(0), bandRows(0), bandCapacity(0), down(), across(NULL), nextSource(0), nextRow(0)
{
}

bool ScaledRows::Prepare()
{
    const size_t sourceStride = static_cast<size_t>(fullWidth) * 3;
    bandCapacity = sourceStride < BandBytes ? static_cast<UINT>(BandBytes / sourceStride) : 1;
    if (bandCapacity > fullHeight)
        bandCapacity = fullHeight;
    const unsigned long long sourceValues = static_cast<unsigned long long>(fullWidth) * 3;
    columns = static_cast<Column *>(Allocate(fullWidth, sizeof(Column)));
    band = static_cast<BYTE *>(Allocate(bandCapacity, sourceStride));
    across = static_cast<UINT *>(Allocate(static_cast<unsigned long long>(width) * 3, sizeof(UINT)));
    down[0] = static_cast<UINT *>(Allocate(sourceValues, sizeof(UINT), HEAP_ZERO_MEMORY));
    down[1] = static_cast<UINT *>(Allocate(sourceValues, sizeof(UINT), HEAP_ZERO_MEMORY));
    if (columns == NULL || band == NULL || across == NULL || down[0] == NULL || down[1] == NULL)
        return false;
    for (UINT x = 0; x < fullWidth; ++x)
    {
        UINT first = 0, second = 0;
        Place(x, fullWidth, width, WeightOne, &columns[x].target, &first, &second);
        columns[x].first = static_cast<WORD>(first);
        columns[x].second = static_cast<WORD>(second);
    }
    return true;
}

ScaledRows::~ScaledRows()
{
    Release(columns);
    Release(band);
    Release(across);
    Release(down[0]);
    Release(down[1]);
}


// Source row y, decoded a band at a time; rows are asked for in order.
const BYTE *ScaledRows::SourceRow(UINT y)
{
    const size_t stride = static_cast<size_t>(fullWidth) * 3;
    if (y >= bandTop + bandRows || bandRows == 0)
    {
        bandTop = y;
        bandRows = fullHeight - y < bandCapacity ? fullHeight - y : bandCapacity;
        if (!full.CopyRows(bandTop, bandRows, band, static_cast<UINT>(stride)))
            return NULL;
    }
    return band + (y - bandTop) * stride;
}

// Adds the next source row, weighed, to the sums of the scaled rows it lies
// in. *rowComplete when the scaled row being summed has all its source rows.
bool ScaledRows::AddSourceRow(bool *rowComplete)
{
    const BYTE *row = SourceRow(nextSource);
    if (row == NULL)
        return false;
    UINT target = 0, first = 0, second = 0;
    Place(nextSource, fullHeight, height, RowWeightOne, &target, &first, &second);
    const size_t values = static_cast<size_t>(fullWidth) * 3;
    UINT *__restrict into = down[0];
    for (size_t i = 0; i < values; ++i)
        into[i] += row[i] * first;
    if (second != 0)
    {
        UINT *__restrict next = down[1];
        for (size_t i = 0; i < values; ++i)
            next[i] += row[i] * second;
    }
    ++nextSource;
    // The scaled row ends where this source row does, or inside it.
    const unsigned long long end = static_cast<unsigned long long>(nextSource) * height;
    *rowComplete = end >= static_cast<unsigned long long>(target + 1) * fullHeight;
    return true;
}

// The summed row, scaled across into out.
void ScaledRows::EmitRow(BYTE *out)
{
    const size_t values = static_cast<size_t>(width) * 3;
    for (size_t i = 0; i < values; ++i)
        across[i] = 0;
    const UINT *__restrict sums = down[0];
    UINT *__restrict scaled = across;
    for (UINT x = 0; x < fullWidth; ++x, sums += 3)
    {
        const Column &column = columns[x];
        UINT *into = scaled + static_cast<size_t>(column.target) * 3;
        into[0] += sums[0] * column.first;
        into[1] += sums[1] * column.first;
        into[2] += sums[2] * column.first;
        if (column.second != 0)
        {
            into[3] += sums[0] * column.second;
            into[4] += sums[1] * column.second;
            into[5] += sums[2] * column.second;
        }
    }
    const UINT shift = WeightShift + RowWeightShift;
    const UINT half = 1u << (shift - 1);
    for (size_t i = 0; i < values; ++i)
    {
        const UINT level = (across[i] + half) >> shift;
        out[i] = static_cast<BYTE>(level > 255 ? 255 : level);
    }
}

bool ScaledRows::CopyRows(UINT y, UINT count, BYTE *rows, UINT stride)
{
    if (y != nextRow || count > height - y)
        return false;
    const size_t sums = static_cast<size_t>(fullWidth) * 3;
    for (UINT i = 0; i < count; ++i)
    {
        for (bool complete = false; !complete;)
            if (nextSource >= fullHeight || !AddSourceRow(&complete))
                return false;
        EmitRow(rows + static_cast<size_t>(i) * stride);
        // The next row's sums so far become the ones being summed.
        UINT *const done = down[0];
        down[0] = down[1];
        down[1] = done;
        for (size_t v = 0; v < sums; ++v)
            down[1][v] = 0;
        ++nextRow;
    }
    return true;
}
