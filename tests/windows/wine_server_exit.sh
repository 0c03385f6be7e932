#!/bin/sh
# Waits for the prefix's wineserver to end, so no process outlives the tests.
WINEPREFIX=$1 wineserver -w
