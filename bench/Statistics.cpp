#include "Bench.h"

#include <algorithm>
#include <cstdio>

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::vector<double> Measured(const std::vector<double>& values)
{
    std::vector<double> out;
    for (double v : values)
        if (!std::isnan(v))
            out.push_back(v);
    return out;
}

double Median(std::vector<double> values)
{
    values = Measured(values);
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Quantile(std::vector<double> values, double q)
{
    values = Measured(values);
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    double pos = q * static_cast<double>(values.size() - 1);
    size_t lo = static_cast<size_t>(pos);
    size_t hi = std::min(lo + 1, values.size() - 1);
    return values[lo] + (values[hi] - values[lo]) * (pos - static_cast<double>(lo));
}

double Iqr(const std::vector<double>& values)
{
    return Quantile(values, 0.75) - Quantile(values, 0.25);
}

std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> out;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!std::isnan(a[i]) && !std::isnan(b[i]) && b[i] > 0)
            out.push_back(a[i] / b[i]);
    return out;
}

double MedianDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> d;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!std::isnan(a[i]) && !std::isnan(b[i]))
            d.push_back(a[i] - b[i]);
    return Median(d);
}

std::string Fixed(double value, int decimals)
{
    if (std::isnan(value))
        return "n/a";
    char buffer[64];
    snprintf(buffer, sizeof(buffer), "%.*f", decimals, value);
    return buffer;
}
