#!/usr/bin/env bash
# Writes the hand-made hostile seeds: inputs that were once read wrongly
# without a word (a decimal comma, a missing or an extra field, a density of
# 0, nan, a wavelet of another interval, a one-sample trace, Latin-1 bytes).
# fuzz_engine_files takes the first byte as the choice: an even byte ("L")
# makes log.dat of the rest, an odd one ("K") klauder.dat.
set -euo pipefail
cd "$(dirname "$0")"
printf 'L0.1 1,873 1.7\r\n0.2 1500 1.8\r\n' >fuzz_engine_files/decimal_comma_log.dat
printf 'L0.1 1500 1.7\r\n0.2 1510\r\n' >fuzz_engine_files/short_last_line_log.dat
printf 'L0.1 1500 1.7 9\r\n0.2 1510 1.8 9\r\n' >fuzz_engine_files/four_columns_log.dat
printf 'L0.1 1500 1.7\r\n0.2 1510 0\r\n' >fuzz_engine_files/density_zero_log.dat
printf 'K 1.00000000000000E-0005  1.00000000000000E+0000\r\n 2.00000000000000E-0005 nan\r\n' \
  >fuzz_engine_files/nan_klauder.dat
printf 'K-2.00000000000000E-0005  5.0E-0001\r\n 2.00000000000000E-0005  1.00000000000000E+0000\r\n 4.00000000000000E-0005  5.0E-0001\r\n' \
  >fuzz_engine_files/klauder_at_20us.dat
printf '0.1 1500 1.8\r\n0.2 1510\r\n0.3 1520 1.9\r\n' >fuzz_log_file/short_line.txt
printf '0 1500 1.8\r\n0.2 1510 1.9\r\n0.2 1511 1.9\r\n0.1 1512 1.9\r\n\r\n\r\n' \
  >fuzz_log_file/dropped_rows.txt
printf '0.001 0.5\r\n' >fuzz_series_file/one_sample.txt
printf '0.001 0.5\r\n0.002 nan\r\n0.003 -inf\r\n' >fuzz_series_file/nan_trace.txt
printf '0.01 d\xe9faut\r\n2000\r\n7000\r\n0.00001\r\n' >fuzz_sig_file/latin1.SIG
printf '0.01\r\n0\r\n70000\r\n0.00001\r\n' >fuzz_sig_file/above_nyquist.SIG
printf '0.1 1500 1.8\r\n\r\n0.2 1510 1.9\r\n' >fuzz_log_file/blank_between.txt
printf 'L0.1 1500 1.7\r\n0.2 1e999 1.8\r\n' >fuzz_engine_files/overflow_log.dat
# Kept after 0.03, 0.025 once reached log.dat after 0.02 had been left out.
printf '0.01 1500 1.5\r\n0.03 1510 1.6\r\n0.02 1520 1.7\r\n0.025 1530 1.8\r\n' \
  >fuzz_log_file/not_deeper_than_kept.txt
printf '0.1 1500 1.6\r\n0.2 1510 -1.5\r\n' >fuzz_log_file/negative_density.txt
printf '0.1 1%0300d 1.6\r\n0.2 1510 1.7\r\n' 0 >fuzz_log_file/huge_velocity.txt
printf 'L-0.5 1500 1.7\r\n0.2 1510 1.8\r\n' >fuzz_engine_files/above_core_top_log.dat
printf '0\r\n0\r\n1\r\n1000\r\n25\r\n1000\r\n25\r\n1000\r\n' >fuzz_bnd_file/top_equals_bottom.BND
printf 'SB_DEPTH_cm\tVP\tDEN\r\nft\tm/s\tg/cc\r\n2\t1500\t1.6\r\n' \
  >fuzz_survey_log/units_disagree.mscl
# A kilobyte of run-length data that skipped (delta) its way through a
# photograph of 1000 x 32 000 pixels, never colouring one.
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; printf "\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
{
  printf 'BM'; le32 564; le32 0; le32 62
  le32 40; le32 1000; le32 32000; printf '\x01\x00\x08\x00'; le32 1; le32 502
  le32 0; le32 0; le32 2; le32 0
  printf '\x00\x00\x00\x00\xff\xff\xff\x00'
  for _ in $(seq 125); do printf '\x00\x02\x00\xff'; done
  printf '\x00\x01'
} >fuzz_bitmap/rle_skips_to_32000_rows.bmp
