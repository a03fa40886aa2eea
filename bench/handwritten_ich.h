// The ICH score and mortality written directly in C++: the floor that no
// formula evaluator can beat.
#pragma once

inline double handwritten_score(double gcs, double volume, double ivh, double infra, double age) {
  return (gcs >= 13  ? 0
          : gcs >= 5 ? 1
                     : 2) +
         (volume >= 30 ? 1 : 0) + (ivh != 0 ? 1 : 0) + (infra != 0 ? 1 : 0) + (age >= 80 ? 1 : 0);
}

inline double handwritten_mortality(double gcs, double volume, double ivh, double infra,
                                    double age) {
  static const double kMortality[] = {0, 13, 26, 72, 97, 100, 100};
  return kMortality[static_cast<int>(handwritten_score(gcs, volume, ivh, infra, age))];
}
