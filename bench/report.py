"""The performance report: one table of ratios, all measured in one run.

  python bench/report.py

Parsing against libyaml's bare scan, PyYAML's C loader and json.loads; peak
memory against the document size; validate_document against parse_document;
validation, analysis, plan, comparison and lineage time at 1x, 4x and 16x
size."""

import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import bench_analysis  # noqa: E402
import bench_compare  # noqa: E402
import bench_memory  # noqa: E402
import bench_parse  # noqa: E402
import bench_plan  # noqa: E402
import bench_validation  # noqa: E402


def main():
    bench_parse.print_table(bench_parse.rows() + bench_memory.rows() + bench_validation.rows()
                            + bench_analysis.rows() + bench_plan.rows() + bench_compare.rows())


if __name__ == "__main__":
    main()
