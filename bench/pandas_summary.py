"""The summary an engineer would script with pandas: read the whole log, group by scan rate and
channel, and compute per quantity the mean, extremes with their files, variance, skew, kurtosis
and a straight-line trend over the files, plus the flag columns. Writes pandas_summary.csv.

    python3 pandas_summary.py STATSLOG
"""
import sys

import numpy as np
import pandas as pd

QUANTITIES = {  # name: column position in a log line (from 0)
    "mean": 17, "max": 18, "min": 19, "variance": 20, "skew": 21, "kurtosis": 22, "cal": 13,
    "psdpeakfreq": 170, "scalefactor": 14, "offset": 15, "damage": 37, "psd99pctfreq": 192,
}
FLAGS = {"zerovarianceflag": 185, "emptyscaleflag": 186, "yellowlineflag": 187,
         "redlineflag": 188, "fullscaleflag": 189, "hplpvarianceflag": 190, "hplpmaxflag": 191}


def main(path):
    np.seterr(all="ignore")  # constant columns have no skew; their NaN is the answer
    log = pd.read_csv(path)
    columns = log.columns
    df = pd.DataFrame({
        "filename": log[columns[0]], "scanrate": log[columns[3]], "channel": log[columns[12]],
        "channelname": log[columns[16]],
        **{name: log[columns[i]] for name, i in QUANTITIES.items()},
        **{name: log[columns[i]] for name, i in FLAGS.items()},
    })
    rows = []
    for (rate, channel), group in df.groupby(["scanrate", "channel"], sort=False):
        row = {"intputfile": path, "numfiles": len(group), "scanrate": rate, "channel": channel,
               "channelname": group["channelname"].iloc[-1]}
        files = group["filename"].to_numpy()
        x = np.arange(len(group), dtype=float)
        for name in QUANTITIES:
            v = group[name].to_numpy(dtype=float)
            n, mean = len(v), v.mean()
            s = v.std(ddof=1)
            row["meanof" + name] = mean
            row["maxof" + name] = v.max()
            row["max" + name + "filename"] = files[len(v) - 1 - np.argmax(v[::-1])]
            row["minof" + name] = v.min()
            row["min" + name + "filename"] = files[len(v) - 1 - np.argmin(v[::-1])]
            row["varianceof" + name] = s * s
            row["skewof" + name] = ((v - mean) ** 3).sum() / (n * s ** 3)
            row["kurtosisof" + name] = ((v - mean) ** 4).sum() / (n * s ** 4)
            beta, yint = np.polyfit(x, v, 1)
            row["lryintof" + name] = yint
            row["lrbetaof" + name] = beta
            row["lrcorrelationof" + name] = np.corrcoef(x, v)[0, 1] ** 2
        row["sumofflags"] = int(group[list(FLAGS)].to_numpy().sum())
        for flag in FLAGS:
            raised = files[group[flag].to_numpy() == 1]
            row["last" + flag + "file"] = raised[-1] if len(raised) else "none"
        rows.append(row)
    pd.DataFrame(rows).to_csv("pandas_summary.csv", index=False)


if __name__ == "__main__":
    main(sys.argv[1])
