// The menu's constant tables: texts, items and pages. Texts are message ids of the
// catalogues in the fonts' code page (Windows-1252).
#include "menu.h"

#define gettext_noop(s) s

// Texts in text-id order, NUL-separated. Text ids 228..253 are the sensor names drawn in
// place of 201..226 in setup mode on device type 30.
const char MenuTextPool[] =
    gettext_noop("<---") "\0"  // 1
    gettext_noop("Checklist") "\0"  // 2
    gettext_noop("Statistic") "\0"  // 3
    gettext_noop("Before Start Engine") "\0"  // 4
    gettext_noop("Before take off") "\0"  // 5
    gettext_noop("Landing") "\0"  // 6
    gettext_noop("After landing") "\0"  // 7
    gettext_noop("Other Setting") "\0"  // 8
    gettext_noop("Other Setting") "\0"  // 9
    gettext_noop("Voice Warning") "\0"  // 10
    gettext_noop("Voice Warning") "\0"  // 11
    gettext_noop("Tank Quantity") "\0"  // 12
    gettext_noop("Volt & Current") "\0"  // 13
    gettext_noop("Entertainment") "\0"  // 14
    gettext_noop("Exit Menu") "\0"  // 15
    gettext_noop("Shut Down") "\0"  // 16
    gettext_noop("Heading Set") "\0"  // 17
    gettext_noop("Brightness") "\0"  // 18
    gettext_noop("Bore Sight") "\0"  // 19
    gettext_noop("Nav Source") "\0"  // 20
    gettext_noop("OBS Setting") "\0"  // 21
    gettext_noop("ALT Bug") "\0"  // 22
    gettext_noop("IAS Bug") "\0"  // 23
    gettext_noop("VOR/LOC") "\0"  // 24
    gettext_noop("APR") "\0"  // 25
    gettext_noop("GPS") "\0"  // 26
    gettext_noop("Off") "\0"  // 27
    gettext_noop("Setup Menu") "\0"  // 28
    gettext_noop("Preflight Check") "\0"  // 29
    gettext_noop("Starting Engine") "\0"  // 30
    gettext_noop("Engine runup") "\0"  // 31
    gettext_noop("Units") "\0"  // 32
    gettext_noop("Range and Limits") "\0"  // 33
    gettext_noop("Range and Limits") "\0"  // 34
    gettext_noop("External Devices") "\0"  // 35
    gettext_noop("COMM") "\0"  // 36
    gettext_noop("XPDR") "\0"  // 37
    gettext_noop("SL30 nav com") "\0"  // 38
    gettext_noop("GPS") "\0"  // 39
    gettext_noop("Remote Compass") "\0"  // 40
    gettext_noop("Altitude Encoder") "\0"  // 41
    gettext_noop("Type") "\0"  // 42
    gettext_noop("Type") "\0"  // 43
    gettext_noop("Becker CM 4201") "\0"  // 44
    gettext_noop("Becker BXP 6402-XR-(XX)") "\0"  // 45
    gettext_noop("No Device") "\0"  // 46
    gettext_noop("Connected") "\0"  // 47
    gettext_noop("Not Connected") "\0"  // 48
    gettext_noop("Service Communication") "\0"  // 49
    gettext_noop("CO Guardian") "\0"  // 50
    gettext_noop("EFIS Data Sharing") "\0"  // 51
    gettext_noop("EMS Data Sharing") "\0"  // 52
    gettext_noop("Off") "\0"  // 53
    gettext_noop("Low Priority") "\0"  // 54
    gettext_noop("High Priority") "\0"  // 55
    gettext_noop("Baro pressure") "\0"  // 56
    gettext_noop("Distance") "\0"  // 57
    gettext_noop("VSI") "\0"  // 58
    gettext_noop("Altitude") "\0"  // 59
    gettext_noop("Airspeed") "\0"  // 60
    gettext_noop("MAN pressure") "\0"  // 61
    gettext_noop("Temperature") "\0"  // 62
    gettext_noop("Pressure") "\0"  // 63
    gettext_noop("Quantity") "\0"  // 64
    gettext_noop("Metric") "\0"  // 65
    gettext_noop("Imperial (UK)") "\0"  // 66
    gettext_noop("Imperial (US)") "\0"  // 67
    gettext_noop("Custom") "\0"  // 68
    gettext_noop("Custom") "\0"  // 69
    gettext_noop("Airspeed") "\0"  // 70
    gettext_noop("km/h") "\0"  // 71
    gettext_noop("kts") "\0"  // 72
    gettext_noop("mph") "\0"  // 73
    gettext_noop("feet") "\0"  // 74
    gettext_noop("metre") "\0"  // 75
    gettext_noop("Fahrenheit") "\0"  // 76
    gettext_noop("Celsius") "\0"  // 77
    gettext_noop("Litre") "\0"  // 78
    gettext_noop("Gallons US") "\0"  // 79
    gettext_noop("Gallons UK") "\0"  // 80
    gettext_noop("inHg") "\0"  // 81
    gettext_noop("mBar") "\0"  // 82
    gettext_noop("torr") "\0"  // 83
    gettext_noop("inHg") "\0"  // 84
    gettext_noop("mBar") "\0"  // 85
    gettext_noop("torr") "\0"  // 86
    gettext_noop("mmHg") "\0"  // 87
    gettext_noop("ft/min") "\0"  // 88
    gettext_noop("m/s") "\0"  // 89
    gettext_noop("Bar") "\0"  // 90
    gettext_noop("psi") "\0"  // 91
    gettext_noop("kg/cm2") "\0"  // 92
    gettext_noop("kPa") "\0"  // 93
    gettext_noop("Kilometers") "\0"  // 94
    gettext_noop("Nautical Miles") "\0"  // 95
    gettext_noop("Statute Miles") "\0"  // 96
    gettext_noop("Units") "\0"  // 97
    gettext_noop("Airspeed") "\0"  // 98
    gettext_noop("kts") "\0"  // 99
    gettext_noop("Vs  - Stall Speed") "\0"  // 100
    gettext_noop("Vfe - Maximum Flap extended") "\0"  // 101
    gettext_noop("Vno - Maximum Structural Cruising") "\0"  // 102
    gettext_noop("Vne - Never exceed") "\0"  // 103
    gettext_noop("Com 1") "\0"  // 104
    gettext_noop("Com 2") "\0"  // 105
    gettext_noop("Baud: 115200") "\0"  // 106
    gettext_noop("Baud: 57600") "\0"  // 107
    gettext_noop("Baud: 38400") "\0"  // 108
    gettext_noop("Baud: 19200") "\0"  // 109
    gettext_noop("Baud: 9600") "\0"  // 110
    gettext_noop("Baud: 4800") "\0"  // 111
    gettext_noop("Protocol: NMEA") "\0"  // 112
    gettext_noop("Protocol: ARNAV") "\0"  // 113
    gettext_noop("Protocol: ICARUS") "\0"  // 114
    gettext_noop("Import Checklist") "\0"  // 115
    gettext_noop("Import Configuration") "\0"  // 116
    gettext_noop("Export Configuration") "\0"  // 117
    gettext_noop("Export Flight data") "\0"  // 118
    gettext_noop("Update Firmware") "\0"  // 119
    gettext_noop("Export Service Log") "\0"  // 120
    gettext_noop("RPM") "\0"  // 121
    gettext_noop("MAP") "\0"  // 122
    gettext_noop("Rotor RPM") "\0"  // 123
    gettext_noop("Oil Pressure") "\0"  // 124
    gettext_noop("Oil Temperature") "\0"  // 125
    gettext_noop("Water CHT Temperature") "\0"  // 126
    gettext_noop("Water Aux Temperature") "\0"  // 127
    gettext_noop("Left / Total  Tank") "\0"  // 128
    gettext_noop("Right Tank") "\0"  // 129
    gettext_noop("Fuel Pressure") "\0"  // 130
    gettext_noop("Fuel Flow") "\0"  // 131
    gettext_noop("EGT") "\0"  // 132
    gettext_noop("CHT") "\0"  // 133
    gettext_noop("Voltage 1") "\0"  // 134
    gettext_noop("Current 1") "\0"  // 135
    gettext_noop("Voltage 2") "\0"  // 136
    gettext_noop("Current 2") "\0"  // 137
    gettext_noop("Voltage 3") "\0"  // 138
    gettext_noop("Current 3") "\0"  // 139
    gettext_noop("Range") "\0"  // 140
    gettext_noop("Alarm") "\0"  // 141
    gettext_noop("Warning") "\0"  // 142
    gettext_noop("Normal") "\0"  // 143
    gettext_noop("Alarm min") "\0"  // 144
    gettext_noop("Warning min") "\0"  // 145
    gettext_noop("Configuration & Sensors") "\0"  // 146
    gettext_noop("Configuration & Sensors") "\0"  // 147
    gettext_noop("IAT") "\0"  // 148
    gettext_noop("OAT") "\0"  // 149
    gettext_noop("AUXT") "\0"  // 150
    gettext_noop("AUX Input / Output") "\0"  // 151
    gettext_noop("CNPY") "\0"  // 152
    gettext_noop("Gear UP") "\0"  // 153
    gettext_noop("Gear DOWN") "\0"  // 154
    gettext_noop("Extern. Signal") "\0"  // 155
    gettext_noop("Voltage") "\0"  // 156
    gettext_noop("Current") "\0"  // 157
    gettext_noop("Main Switch Control") "\0"  // 158
    gettext_noop("Yes - HI") "\0"  // 159
    gettext_noop("Yes - LO") "\0"  // 160
    gettext_noop("Max 5V") "\0"  // 161
    gettext_noop("Max 12V") "\0"  // 162
    gettext_noop("Max 24V") "\0"  // 163
    gettext_noop("Yes") "\0"  // 164
    gettext_noop("No") "\0"  // 165
    gettext_noop("Voltage 1 - Yes") "\0"  // 166
    gettext_noop("Voltage 1 - No") "\0"  // 167
    gettext_noop("Voltage 1 - Label") "\0"  // 168
    gettext_noop("Voltage 2 - Yes") "\0"  // 169
    gettext_noop("Voltage 2 - No") "\0"  // 170
    gettext_noop("Voltage 2 - Label") "\0"  // 171
    gettext_noop("Voltage 3 - Yes") "\0"  // 172
    gettext_noop("Voltage 3 - No") "\0"  // 173
    gettext_noop("Voltage 3 - Label") "\0"  // 174
    gettext_noop("Current 1 - Yes") "\0"  // 175
    gettext_noop("Current 1 - No") "\0"  // 176
    gettext_noop("Current 1 - Label") "\0"  // 177
    gettext_noop("Current 2 - Yes") "\0"  // 178
    gettext_noop("Current 2 - No") "\0"  // 179
    gettext_noop("Current 2 - Label") "\0"  // 180
    gettext_noop("Current 3 - Yes") "\0"  // 181
    gettext_noop("Current 3 - No") "\0"  // 182
    gettext_noop("Current 3 - Label") "\0"  // 183
    gettext_noop("EGT, CHT Number") "\0"  // 184
    gettext_noop("EGT, CHT Setting") "\0"  // 185
    gettext_noop("Two Cylinders") "\0"  // 186
    gettext_noop("Four Cylinders") "\0"  // 187
    gettext_noop("Six Cylinders") "\0"  // 188
    gettext_noop("EGT 1") "\0"  // 189
    gettext_noop("EGT 2") "\0"  // 190
    gettext_noop("EGT 3") "\0"  // 191
    gettext_noop("EGT 4") "\0"  // 192
    gettext_noop("EGT 5") "\0"  // 193
    gettext_noop("EGT 6") "\0"  // 194
    gettext_noop("CHT 1") "\0"  // 195
    gettext_noop("CHT 2") "\0"  // 196
    gettext_noop("CHT 3") "\0"  // 197
    gettext_noop("CHT 4") "\0"  // 198
    gettext_noop("CHT 5") "\0"  // 199
    gettext_noop("CHT 6") "\0"  // 200
    gettext_noop("4205-39") "\0"  // 201
    gettext_noop("4205-24") "\0"  // 202
    gettext_noop("4205-33") "\0"  // 203
    gettext_noop("4205-21") "\0"  // 204
    gettext_noop("4205-22") "\0"  // 205
    gettext_noop("4205-23") "\0"  // 206
    gettext_noop("4205-37") "\0"  // 207
    gettext_noop("4205-38") "\0"  // 208
    gettext_noop("4205-15") "\0"  // 209
    gettext_noop("4205-07") "\0"  // 210
    gettext_noop("4205-08") "\0"  // 211
    gettext_noop("4205-05") "\0"  // 212
    gettext_noop("4205-06") "\0"  // 213
    gettext_noop("4205-16") "\0"  // 214
    gettext_noop("4205-17") "\0"  // 215
    gettext_noop("4205-04H2 (Type J)") "\0"  // 216
    gettext_noop("4205-04H4 (Type J)") "\0"  // 217
    gettext_noop("4205-04H8 (Type J)") "\0"  // 218
    gettext_noop("4205-36 (Type J)") "\0"  // 219
    gettext_noop("4205-03 (Type K)") "\0"  // 220
    gettext_noop("4205-18 (Type K)") "\0"  // 221
    gettext_noop("4205-40") "\0"  // 222
    gettext_noop("4205-42") "\0"  // 223
    gettext_noop("4205-45") "\0"  // 224
    gettext_noop("Type J") "\0"  // 225
    gettext_noop("Type K") "\0"  // 226
    gettext_noop("Thermocouple No. 1") "\0"  // 227
    gettext_noop("4305-28") "\0"  // 228
    gettext_noop("4305-22") "\0"  // 229
    gettext_noop("4305-24") "\0"  // 230
    gettext_noop("4305-19") "\0"  // 231
    gettext_noop("4305-20") "\0"  // 232
    gettext_noop("4305-21") "\0"  // 233
    gettext_noop("4305-26") "\0"  // 234
    gettext_noop("4305-27") "\0"  // 235
    gettext_noop("4305-13") "\0"  // 236
    gettext_noop("4305-05") "\0"  // 237
    gettext_noop("4305-06") "\0"  // 238
    gettext_noop("4305-03") "\0"  // 239
    gettext_noop("4305-04") "\0"  // 240
    gettext_noop("4305-14") "\0"  // 241
    gettext_noop("4305-15") "\0"  // 242
    gettext_noop("4305-02H2 (Type J)") "\0"  // 243
    gettext_noop("4305-02H4 (Type J)") "\0"  // 244
    gettext_noop("4305-02H8 (Type J)") "\0"  // 245
    gettext_noop("4305-25 (Type J)") "\0"  // 246
    gettext_noop("4305-01 (Type K)") "\0"  // 247
    gettext_noop("4305-16 (Type K)") "\0"  // 248
    gettext_noop("4305-29") "\0"  // 249
    gettext_noop("4305-31") "\0"  // 250
    gettext_noop("4305-33") "\0"  // 251
    gettext_noop("Type J") "\0"  // 252
    gettext_noop("Type K") "\0"  // 253
    gettext_noop("Thermocouple No. 2") "\0"  // 254
    gettext_noop("Thermocouple No. 3") "\0"  // 255
    gettext_noop("Thermocouple No. 4") "\0"  // 256
    gettext_noop("Thermocouple No. 5") "\0"  // 257
    gettext_noop("Thermocouple No. 6") "\0"  // 258
    gettext_noop("Thermocouple No. 7") "\0"  // 259
    gettext_noop("Thermocouple No. 8") "\0"  // 260
    gettext_noop("Thermocouple No. 9") "\0"  // 261
    gettext_noop("Thermocouple No. 10") "\0"  // 262
    gettext_noop("Thermocouple No. 11") "\0"  // 263
    gettext_noop("Thermocouple No. 12") "\0"  // 264
    gettext_noop("Input") "\0"  // 265
    gettext_noop("Sensor Type") "\0"  // 266
    gettext_noop("Sensor Type") "\0"  // 267
    gettext_noop("Other Setting & Calibration") "\0"  // 268
    gettext_noop("Fuel Flow") "\0"  // 269
    gettext_noop("Fuel Calibration") "\0"  // 270
    gettext_noop("RPM Setting") "\0"  // 271
    gettext_noop("Rotor RPM Setting") "\0"  // 272
    gettext_noop("Engine Time Threshold") "\0"  // 273
    gettext_noop("Aircraft Identification") "\0"  // 274
    gettext_noop("Time") "\0"  // 275
    gettext_noop("Date") "\0"  // 276
    gettext_noop("Total  Tank") "\0"  // 277
    gettext_noop("Left Tank") "\0"  // 278
    gettext_noop("Right Tank") "\0"  // 279
    gettext_noop("Set Unexhaustible Fuel") "\0"  // 280
    gettext_noop("Total  Tank") "\0"  // 281
    gettext_noop("K-Factor") "\0"  // 282
    gettext_noop("Time of Average Flow") "\0"  // 283
    gettext_noop("Pulses Per Rev") "\0"  // 284
    gettext_noop("Reduction Ratio") "\0"  // 285
    gettext_noop("Fuel Pressure - set zero press") "\0"  // 286
    gettext_noop("MAP - set zero press") "\0"  // 287
    gettext_noop("Pitch Setting") "\0"  // 288
    gettext_noop("Roll Setting") "\0"  // 289
    gettext_noop("Backlight Control") "\0"  // 290
    gettext_noop("Manual") "\0"  // 291
    gettext_noop("External") "\0"  // 292
    gettext_noop("Auto") "\0"  // 293
    gettext_noop("Dimmer Source Control") "\0"  // 294
    gettext_noop("Backlight Color") "\0"  // 295
    gettext_noop("Green") "\0"  // 296
    gettext_noop("Red") "\0"  // 297
    gettext_noop("Orange") "\0"  // 298
    gettext_noop("Power Off") "\0"  // 299
    gettext_noop("3D Terrain ON") "\0"  // 300
    gettext_noop("3D Terrain OFF") "\0"  // 301
    gettext_noop("Highway ON") "\0"  // 302
    gettext_noop("Highway OFF") "\0"  // 303
    gettext_noop("Towing Menu ON") "\0"  // 304
    gettext_noop("Towing Menu OFF") "\0"  // 305
    gettext_noop("Enter Setup") "\0"  // 306
    gettext_noop("Message 1") "\0"  // 307
    gettext_noop("Message 2") "\0"  // 308
    gettext_noop("Message 3") "\0"  // 309
    gettext_noop("Message 4") "\0"  // 310
    gettext_noop("Message 5") "\0"  // 311
    gettext_noop("Message 6") "\0"  // 312
    gettext_noop("Message 7") "\0"  // 313
    gettext_noop("Message 8") "\0"  // 314
    gettext_noop("Message 9") "\0"  // 315
    gettext_noop("Message 10") "\0"  // 316
    gettext_noop("Stop Playing") "\0"  // 317
    gettext_noop("Alt ON") "\0"  // 318
    gettext_noop("Alt OFF") "\0"  // 319
    gettext_noop("IAS ON") "\0"  // 320
    gettext_noop("IAS OFF") "\0"  // 321
    gettext_noop("HDG ON") "\0"  // 322
    gettext_noop("HDG OFF") "\0"  // 323
    gettext_noop("About") "\0"  // 324
    gettext_noop("Demo Mode") "\0"  // 325
    gettext_noop("Demo ON") "\0"  // 326
    gettext_noop("Demo OFF") "\0"  // 327
    gettext_noop("Skyvane Type") "\0"  // 328
    gettext_noop("Reset Time") "\0"  // 329
    gettext_noop("Limit Airspeed") "\0"  // 330
    gettext_noop("Limit RPM") "\0"  // 331
    gettext_noop("Save Setting") "\0"  // 332
    gettext_noop("EMS") "\0"  // 333
    gettext_noop("EFIS") "\0"  // 334
    gettext_noop("EFIS + EMS") "\0"  // 335
    gettext_noop("Remote Display") "\0"  // 336
    gettext_noop("Reset to 30 sec") "\0"  // 337
    gettext_noop("Reset to 1 min") "\0"  // 338
    gettext_noop("Reset to 2 min") "\0"  // 339
    gettext_noop("Reset to 3 min") "\0"  // 340
    gettext_noop("Reset to 4 min") "\0"  // 341
    gettext_noop("Reset to 5 min") "\0"  // 342
    gettext_noop("Reset to 10 min") "\0"  // 343
    gettext_noop("Change Password") "\0"  // 344
    gettext_noop("Water CHT Temperature Label") "\0"  // 345
    gettext_noop("WATER") "\0"  // 346
    gettext_noop("Settings") "\0"  // 347
    gettext_noop("Calibration") "\0"  // 348
    gettext_noop("Declination") "\0"  // 349
    gettext_noop("Inclination") "\0"  // 350
    gettext_noop("Total Mag. Field") "\0"  // 351
    gettext_noop("Build In") "\0"  // 352
    gettext_noop("X Front, Y Left") "\0"  // 353
    gettext_noop("X Front, Y Down") "\0"  // 354
    gettext_noop("X Up, Y Right") "\0"  // 355
    gettext_noop("Language") "\0"  // 356
    gettext_noop("English") "\0"  // 357
    gettext_noop("Czech") "\0"  // 358
    gettext_noop("French") "\0"  // 359
    gettext_noop("German") "\0"  // 360
    gettext_noop("Italian") "\0"  // 361
    gettext_noop("Russian") "\0"  // 362
    gettext_noop("Spanish") "\0"  // 363
    gettext_noop("As User") "\0"  // 364
    gettext_noop("As Administrator") "\0"  // 365
    gettext_noop("As Installer") "\0"  // 366
    gettext_noop("Autopilot Setup") "\0"  // 367
    gettext_noop("Servo Setup") "\0"  // 368
    gettext_noop("Servo Deflection Calibration") "\0"  // 369
    gettext_noop("External Button") "\0"  // 370
    gettext_noop("Pitch Axis Setup") "\0"  // 371
    gettext_noop("Roll Axis Setup") "\0"  // 372
    gettext_noop("Servo Roll") "\0"  // 373
    gettext_noop("Servo Pitch") "\0"  // 374
    gettext_noop("Servo Yaw") "\0"  // 375
    gettext_noop("Detection") "\0"  // 376
    gettext_noop("Installed - YES") "\0"  // 377
    gettext_noop("Installed - NO") "\0"  // 378
    gettext_noop("Slip") "\0"  // 379
    gettext_noop("Deflection Calibration") "\0"  // 380
    gettext_noop("Deflection Test") "\0"  // 381
    gettext_noop("Autopilot Activation - Deact. Only") "\0"  // 382
    gettext_noop("Autopilot Activation - Prev. Act.& Deact.") "\0"  // 383
    gettext_noop("Autopilot Activation - Stab. Act.& Deact. ") "\0"  // 384
    gettext_noop("Hold On Function - Enable") "\0"  // 385
    gettext_noop("Hold On Function - Disable") "\0"  // 386
    gettext_noop("Control Sensitivity") "\0"  // 387
    gettext_noop("Mode - Turn Rate") "\0"  // 388
    gettext_noop("Mode - Bank Angle") "\0"  // 389
    gettext_noop("Max. Bank Angle") "\0"  // 390
    gettext_noop("Turn Rate Target") "\0"  // 391
    gettext_noop("Mode - Vertical Speed ") "\0"  // 392
    gettext_noop("Mode - Longitudinal Angle") "\0"  // 393
    gettext_noop("Max. Longitudinal Angle ") "\0"  // 394
    gettext_noop("Max. Climb Speed") "\0"  // 395
    gettext_noop("Max. Descent Speed") "\0"  // 396
    gettext_noop("Min. Air Speed ") "\0"  // 397
    gettext_noop("Max. Air Speed ") "\0"  // 398
    gettext_noop("ACT&SBY Freq Swap") "\0"  // 399
    gettext_noop("Memory") "\0"  // 400
    gettext_noop("Volume") "\0"  // 401
    gettext_noop("Squelch ON/OFF") "\0"  // 402
    gettext_noop("IDENT") "\0"  // 403
    gettext_noop("Mode") "\0"  // 404
    gettext_noop("Emergency Squawk") "\0"  // 405
    gettext_noop("ON") "\0"  // 406
    gettext_noop("ALT") "\0"  // 407
    gettext_noop("SBY") "\0"  // 408
    gettext_noop("7500 Unlawful Interference") "\0"  // 409
    gettext_noop("7600 Lost Communication") "\0"  // 410
    gettext_noop("7700 General Emergency") "\0"  // 411
    gettext_noop("7777 Military Interception") "\0"  // 412
    gettext_noop("Squelch Threshold") "\0"  // 413
    gettext_noop("Memory Fields") "\0"  // 414
    gettext_noop("Frequency Step") "\0"  // 415
    gettext_noop("8.33 kHz") "\0"  // 416
    gettext_noop("25 kHz") "\0"  // 417
    gettext_noop("M 1") "\0"  // 418
    gettext_noop("M 2") "\0"  // 419
    gettext_noop("M 3") "\0"  // 420
    gettext_noop("M 4") "\0"  // 421
    gettext_noop("M 5") "\0"  // 422
    gettext_noop("M 6") "\0"  // 423
    gettext_noop("M 7") "\0"  // 424
    gettext_noop("M 8") "\0"  // 425
    gettext_noop("M 9") "\0"  // 426
    gettext_noop("M 10") "\0"  // 427
    gettext_noop("Memory Frequence") "\0"  // 428
    gettext_noop("Memory Label") "\0"  // 429
    gettext_noop("Rotax ECU") "\0"  // 430
    gettext_noop("CAN A") "\0"  // 431
    gettext_noop("CAN B") "\0"  // 432
    gettext_noop("VFR: 1200") "\0"  // 433
    gettext_noop("VFR: 7000") "\0"  // 434
    gettext_noop("Meren\xE9 provozn\xED veliciny") "\0"  // 435
    gettext_noop("Diagnostics") "\0"  // 436
    gettext_noop("Engine status (summary)") "\0"  // 437
    gettext_noop("Sensor status (detail)") "\0"  // 438
    gettext_noop("Device status (detail)") "\0"  // 439
    gettext_noop("Fuel quantity Time of Average ") "\0"  // 440
    ;

const TMenuText MenuTexts[MenuTextCount + 1] = {
    {1, 0, 4},
    {2, 5, 9},
    {3, 15, 9},
    {4, 25, 19},
    {5, 45, 15},
    {6, 61, 7},
    {7, 69, 13},
    {8, 83, 13},
    {9, 97, 13},
    {10, 111, 13},
    {11, 125, 13},
    {12, 139, 13},
    {13, 153, 14},
    {14, 168, 13},
    {15, 182, 9},
    {16, 192, 9},
    {17, 202, 11},
    {18, 214, 10},
    {19, 225, 10},
    {20, 236, 10},
    {21, 247, 11},
    {22, 259, 7},
    {23, 267, 7},
    {24, 275, 7},
    {25, 283, 3},
    {26, 287, 3},
    {27, 291, 3},
    {28, 295, 10},
    {29, 306, 15},
    {30, 322, 15},
    {31, 338, 12},
    {32, 351, 5},
    {33, 357, 16},
    {34, 374, 16},
    {35, 391, 16},
    {36, 408, 4},
    {37, 413, 4},
    {38, 418, 12},
    {39, 431, 3},
    {40, 435, 14},
    {41, 450, 16},
    {42, 467, 4},
    {43, 472, 4},
    {44, 477, 14},
    {45, 492, 23},
    {46, 516, 9},
    {47, 526, 9},
    {48, 536, 13},
    {49, 550, 21},
    {50, 572, 11},
    {51, 584, 17},
    {52, 602, 16},
    {53, 619, 3},
    {54, 623, 12},
    {55, 636, 13},
    {56, 650, 13},
    {57, 664, 8},
    {58, 673, 3},
    {59, 677, 8},
    {60, 686, 8},
    {61, 695, 12},
    {62, 708, 11},
    {63, 720, 8},
    {64, 729, 8},
    {65, 738, 6},
    {66, 745, 13},
    {67, 759, 13},
    {68, 773, 6},
    {69, 780, 6},
    {70, 787, 8},
    {71, 796, 4},
    {72, 801, 3},
    {73, 805, 3},
    {74, 809, 4},
    {75, 814, 5},
    {76, 820, 10},
    {77, 831, 7},
    {78, 839, 5},
    {79, 845, 10},
    {80, 856, 10},
    {81, 867, 4},
    {82, 872, 4},
    {83, 877, 4},
    {84, 882, 4},
    {85, 887, 4},
    {86, 892, 4},
    {87, 897, 4},
    {88, 902, 6},
    {89, 909, 3},
    {90, 913, 3},
    {91, 917, 3},
    {92, 921, 6},
    {93, 928, 3},
    {94, 932, 10},
    {95, 943, 14},
    {96, 958, 13},
    {97, 972, 5},
    {98, 978, 8},
    {99, 987, 3},
    {100, 991, 17},
    {101, 1009, 27},
    {102, 1037, 33},
    {103, 1071, 18},
    {104, 1090, 5},
    {105, 1096, 5},
    {106, 1102, 12},
    {107, 1115, 11},
    {108, 1127, 11},
    {109, 1139, 11},
    {110, 1151, 10},
    {111, 1162, 10},
    {112, 1173, 14},
    {113, 1188, 15},
    {114, 1204, 16},
    {115, 1221, 16},
    {116, 1238, 20},
    {117, 1259, 20},
    {118, 1280, 18},
    {119, 1299, 15},
    {120, 1315, 18},
    {121, 1334, 3},
    {122, 1338, 3},
    {123, 1342, 9},
    {124, 1352, 12},
    {125, 1365, 15},
    {126, 1381, 21},
    {127, 1403, 21},
    {128, 1425, 18},
    {129, 1444, 10},
    {130, 1455, 13},
    {131, 1469, 9},
    {132, 1479, 3},
    {133, 1483, 3},
    {134, 1487, 9},
    {135, 1497, 9},
    {136, 1507, 9},
    {137, 1517, 9},
    {138, 1527, 9},
    {139, 1537, 9},
    {140, 1547, 5},
    {141, 1553, 5},
    {142, 1559, 7},
    {143, 1567, 6},
    {144, 1574, 9},
    {145, 1584, 11},
    {146, 1596, 23},
    {147, 1620, 23},
    {148, 1644, 3},
    {149, 1648, 3},
    {150, 1652, 4},
    {151, 1657, 18},
    {152, 1676, 4},
    {153, 1681, 7},
    {154, 1689, 9},
    {155, 1699, 14},
    {156, 1714, 7},
    {157, 1722, 7},
    {158, 1730, 19},
    {159, 1750, 8},
    {160, 1759, 8},
    {161, 1768, 6},
    {162, 1775, 7},
    {163, 1783, 7},
    {164, 1791, 3},
    {165, 1795, 2},
    {166, 1798, 15},
    {167, 1814, 14},
    {168, 1829, 17},
    {169, 1847, 15},
    {170, 1863, 14},
    {171, 1878, 17},
    {172, 1896, 15},
    {173, 1912, 14},
    {174, 1927, 17},
    {175, 1945, 15},
    {176, 1961, 14},
    {177, 1976, 17},
    {178, 1994, 15},
    {179, 2010, 14},
    {180, 2025, 17},
    {181, 2043, 15},
    {182, 2059, 14},
    {183, 2074, 17},
    {184, 2092, 15},
    {185, 2108, 16},
    {186, 2125, 13},
    {187, 2139, 14},
    {188, 2154, 13},
    {189, 2168, 5},
    {190, 2174, 5},
    {191, 2180, 5},
    {192, 2186, 5},
    {193, 2192, 5},
    {194, 2198, 5},
    {195, 2204, 5},
    {196, 2210, 5},
    {197, 2216, 5},
    {198, 2222, 5},
    {199, 2228, 5},
    {200, 2234, 5},
    {201, 2240, 7},
    {202, 2248, 7},
    {203, 2256, 7},
    {204, 2264, 7},
    {205, 2272, 7},
    {206, 2280, 7},
    {207, 2288, 7},
    {208, 2296, 7},
    {209, 2304, 7},
    {210, 2312, 7},
    {211, 2320, 7},
    {212, 2328, 7},
    {213, 2336, 7},
    {214, 2344, 7},
    {215, 2352, 7},
    {216, 2360, 18},
    {217, 2379, 18},
    {218, 2398, 18},
    {219, 2417, 16},
    {220, 2434, 16},
    {221, 2451, 16},
    {222, 2468, 7},
    {223, 2476, 7},
    {224, 2484, 7},
    {225, 2492, 6},
    {226, 2499, 6},
    {227, 2506, 18},
    {228, 2525, 7},
    {229, 2533, 7},
    {230, 2541, 7},
    {231, 2549, 7},
    {232, 2557, 7},
    {233, 2565, 7},
    {234, 2573, 7},
    {235, 2581, 7},
    {236, 2589, 7},
    {237, 2597, 7},
    {238, 2605, 7},
    {239, 2613, 7},
    {240, 2621, 7},
    {241, 2629, 7},
    {242, 2637, 7},
    {243, 2645, 18},
    {244, 2664, 18},
    {245, 2683, 18},
    {246, 2702, 16},
    {247, 2719, 16},
    {248, 2736, 16},
    {249, 2753, 7},
    {250, 2761, 7},
    {251, 2769, 7},
    {252, 2777, 6},
    {253, 2784, 6},
    {254, 2791, 18},
    {255, 2810, 18},
    {256, 2829, 18},
    {257, 2848, 18},
    {258, 2867, 18},
    {259, 2886, 18},
    {260, 2905, 18},
    {261, 2924, 18},
    {262, 2943, 19},
    {263, 2963, 19},
    {264, 2983, 19},
    {265, 3003, 5},
    {266, 3009, 11},
    {267, 3021, 11},
    {268, 3033, 27},
    {269, 3061, 9},
    {270, 3071, 16},
    {271, 3088, 11},
    {272, 3100, 17},
    {273, 3118, 21},
    {274, 3140, 23},
    {275, 3164, 4},
    {276, 3169, 4},
    {277, 3174, 11},
    {278, 3186, 9},
    {279, 3196, 10},
    {280, 3207, 22},
    {281, 3230, 11},
    {282, 3242, 8},
    {283, 3251, 20},
    {284, 3272, 14},
    {285, 3287, 15},
    {286, 3303, 30},
    {287, 3334, 20},
    {288, 3355, 13},
    {289, 3369, 12},
    {290, 3382, 17},
    {291, 3400, 6},
    {292, 3407, 8},
    {293, 3416, 4},
    {294, 3421, 21},
    {295, 3443, 15},
    {296, 3459, 5},
    {297, 3465, 3},
    {298, 3469, 6},
    {299, 3476, 9},
    {300, 3486, 13},
    {301, 3500, 14},
    {302, 3515, 10},
    {303, 3526, 11},
    {304, 3538, 14},
    {305, 3553, 15},
    {306, 3569, 11},
    {307, 3581, 9},
    {308, 3591, 9},
    {309, 3601, 9},
    {310, 3611, 9},
    {311, 3621, 9},
    {312, 3631, 9},
    {313, 3641, 9},
    {314, 3651, 9},
    {315, 3661, 9},
    {316, 3671, 10},
    {317, 3682, 12},
    {318, 3695, 6},
    {319, 3702, 7},
    {320, 3710, 6},
    {321, 3717, 7},
    {322, 3725, 6},
    {323, 3732, 7},
    {324, 3740, 5},
    {325, 3746, 9},
    {326, 3756, 7},
    {327, 3764, 8},
    {328, 3773, 12},
    {329, 3786, 10},
    {330, 3797, 14},
    {331, 3812, 9},
    {332, 3822, 12},
    {333, 3835, 3},
    {334, 3839, 4},
    {335, 3844, 10},
    {336, 3855, 14},
    {337, 3870, 15},
    {338, 3886, 14},
    {339, 3901, 14},
    {340, 3916, 14},
    {341, 3931, 14},
    {342, 3946, 14},
    {343, 3961, 15},
    {344, 3977, 15},
    {345, 3993, 27},
    {346, 4021, 5},
    {347, 4027, 8},
    {348, 4036, 11},
    {349, 4048, 11},
    {350, 4060, 11},
    {351, 4072, 16},
    {352, 4089, 8},
    {353, 4098, 15},
    {354, 4114, 15},
    {355, 4130, 13},
    {356, 4144, 8},
    {357, 4153, 7},
    {358, 4161, 5},
    {359, 4167, 6},
    {360, 4174, 6},
    {361, 4181, 7},
    {362, 4189, 7},
    {363, 4197, 7},
    {364, 4205, 7},
    {365, 4213, 16},
    {366, 4230, 12},
    {367, 4243, 15},
    {368, 4259, 11},
    {369, 4271, 28},
    {370, 4300, 15},
    {371, 4316, 16},
    {372, 4333, 15},
    {373, 4349, 10},
    {374, 4360, 11},
    {375, 4372, 9},
    {376, 4382, 9},
    {377, 4392, 15},
    {378, 4408, 14},
    {379, 4423, 4},
    {380, 4428, 22},
    {381, 4451, 15},
    {382, 4467, 34},
    {383, 4502, 41},
    {384, 4544, 42},
    {385, 4587, 25},
    {386, 4613, 26},
    {387, 4640, 19},
    {388, 4660, 16},
    {389, 4677, 17},
    {390, 4695, 15},
    {391, 4711, 16},
    {392, 4728, 22},
    {393, 4751, 25},
    {394, 4777, 24},
    {395, 4802, 16},
    {396, 4819, 18},
    {397, 4838, 15},
    {398, 4854, 15},
    {399, 4870, 17},
    {400, 4888, 6},
    {401, 4895, 6},
    {402, 4902, 14},
    {403, 4917, 5},
    {404, 4923, 4},
    {405, 4928, 16},
    {406, 4945, 2},
    {407, 4948, 3},
    {408, 4952, 3},
    {409, 4956, 26},
    {410, 4983, 23},
    {411, 5007, 22},
    {412, 5030, 26},
    {413, 5057, 17},
    {414, 5075, 13},
    {415, 5089, 14},
    {416, 5104, 8},
    {417, 5113, 6},
    {418, 5120, 3},
    {419, 5124, 3},
    {420, 5128, 3},
    {421, 5132, 3},
    {422, 5136, 3},
    {423, 5140, 3},
    {424, 5144, 3},
    {425, 5148, 3},
    {426, 5152, 3},
    {427, 5156, 4},
    {428, 5161, 16},
    {429, 5178, 12},
    {430, 5191, 9},
    {431, 5201, 5},
    {432, 5207, 5},
    {433, 5213, 9},
    {434, 5223, 9},
    {435, 5233, 24},
    {436, 5258, 11},
    {437, 5270, 23},
    {438, 5294, 22},
    {439, 5317, 22},
    {440, 5340, 30},
    {-1, 0, 0},
};

const TMenuItem MenuItems[MenuItemCount + 1] = {
    {1, 1, 0, 0},
    {2, 2, 0, 0},
    {3, 3, 0, 0},
    {4, 4, 0, 0},
    {5, 5, 0, 0},
    {6, 6, 0, 0},
    {7, 7, 0, 0},
    {8, 8, 123, 0},
    {9, 9, 124, 0},
    {10, 10, 127, 0},
    {11, 11, 128, 0},
    {12, 12, 0, 0},
    {13, 13, 0, 0},
    {14, 14, 0, 0},
    {15, 15, 0, 0},
    {16, 16, 0, 0},
    {17, 17, 0, 0},
    {18, 18, 0, 0},
    {19, 19, 0, 0},
    {20, 20, 125, 0},
    {21, 21, 0, 0},
    {22, 22, 0, 0},
    {23, 23, 0, 0},
    {24, 24, 0, 0},
    {25, 25, 0, 0},
    {26, 26, 0, 0},
    {27, 27, 0, 0},
    {28, 28, 0, 0},
    {29, 29, 0, 0},
    {30, 30, 0, 0},
    {31, 31, 0, 0},
    {32, 32, 0, 0},
    {33, 33, 24, 0},
    {34, 34, 0, 0},
    {35, 35, 0, 0},
    {36, 36, 55, 0},
    {37, 37, 56, 0},
    {38, 38, 44, 0},
    {39, 39, 43, 0},
    {40, 40, 51, 0},
    {41, 41, 47, 0},
    {42, 42, 57, 0},
    {43, 43, 58, 0},
    {44, 44, 38, 0},
    {45, 45, 40, 0},
    {46, 46, 0, 0},
    {47, 47, 0, 0},
    {48, 48, 0, 0},
    {49, 49, 45, 0},
    {50, 50, 46, 0},
    {51, 51, 0, 0},
    {52, 52, 0, 0},
    {53, 53, 0, 0},
    {54, 54, 0, 0},
    {55, 55, 0, 0},
    {56, 56, 30, 0},
    {57, 57, 33, 0},
    {58, 58, 31, 0},
    {59, 59, 27, 0},
    {60, 60, 26, 0},
    {61, 61, 36, 0},
    {62, 62, 28, 0},
    {63, 63, 32, 0},
    {64, 64, 29, 0},
    {65, 65, 0, 0},
    {66, 66, 0, 0},
    {67, 67, 0, 0},
    {68, 68, 23, 0},
    {69, 69, 35, 0},
    {70, 70, 0, 0},
    {71, 71, 0, 0},
    {72, 72, 0, 0},
    {73, 73, 0, 0},
    {74, 74, 0, 0},
    {75, 75, 0, 0},
    {76, 76, 0, 0},
    {77, 77, 0, 0},
    {78, 78, 0, 0},
    {79, 79, 0, 0},
    {80, 80, 0, 0},
    {81, 81, 0, 0},
    {82, 82, 0, 0},
    {83, 83, 0, 0},
    {84, 84, 0, 0},
    {85, 85, 0, 0},
    {86, 86, 0, 0},
    {87, 87, 0, 0},
    {88, 88, 0, 0},
    {89, 89, 0, 0},
    {90, 90, 0, 0},
    {91, 91, 0, 0},
    {92, 92, 0, 0},
    {93, 93, 0, 0},
    {94, 94, 0, 0},
    {95, 95, 0, 0},
    {96, 96, 0, 0},
    {97, 97, 0, 0},
    {98, 98, 0, 0},
    {99, 99, 0, 0},
    {100, 100, 0, 0},
    {101, 101, 0, 0},
    {102, 102, 0, 0},
    {103, 103, 0, 0},
    {104, 104, 0, 0},
    {105, 105, 0, 0},
    {106, 106, 0, 0},
    {107, 107, 0, 0},
    {108, 108, 0, 0},
    {109, 109, 0, 0},
    {110, 110, 0, 0},
    {111, 111, 0, 0},
    {112, 112, 0, 0},
    {113, 113, 0, 0},
    {114, 114, 0, 0},
    {115, 115, 0, 0},
    {116, 116, 0, 0},
    {117, 117, 0, 0},
    {118, 118, 0, 0},
    {119, 119, 0, 0},
    {120, 120, 0, 0},
    {121, 121, 64, 0},
    {122, 122, 72, 0},
    {123, 123, 71, 0},
    {124, 124, 76, 0},
    {125, 125, 75, 0},
    {126, 126, 73, 0},
    {127, 127, 74, 0},
    {128, 128, 0, 0},
    {129, 129, 0, 0},
    {130, 130, 70, 0},
    {131, 131, 69, 0},
    {132, 132, 65, 0},
    {133, 133, 66, 0},
    {134, 134, 0, 0},
    {135, 135, 0, 0},
    {136, 136, 0, 0},
    {137, 137, 0, 0},
    {138, 138, 0, 0},
    {139, 139, 0, 0},
    {140, 140, 0, 0},
    {141, 141, 0, 0},
    {142, 142, 0, 0},
    {143, 143, 0, 0},
    {144, 144, 0, 0},
    {145, 145, 0, 0},
    {146, 146, 0, 0},
    {147, 147, 0, 0},
    {148, 121, 81, 0},
    {149, 122, 82, 0},
    {150, 123, 83, 0},
    {151, 124, 84, 0},
    {152, 125, 85, 0},
    {153, 126, 86, 0},
    {154, 127, 87, 0},
    {155, 128, 0, 0},
    {156, 129, 0, 0},
    {157, 130, 90, 0},
    {158, 131, 91, 0},
    {159, 148, 92, 0},
    {160, 149, 93, 0},
    {161, 150, 87, 0},
    {162, 151, 94, 0},
    {163, 152, 95, 0},
    {164, 153, 96, 0},
    {165, 154, 97, 0},
    {166, 155, 98, 0},
    {167, 156, 99, 0},
    {168, 157, 100, 0},
    {169, 158, 131, 0},
    {170, 159, 0, 0},
    {171, 160, 0, 0},
    {172, 161, 0, 0},
    {173, 162, 0, 0},
    {174, 163, 0, 0},
    {175, 164, 0, 0},
    {176, 165, 0, 0},
    {177, 166, 0, 0},
    {178, 167, 0, 0},
    {179, 168, 0, 0},
    {180, 169, 0, 0},
    {181, 170, 0, 0},
    {182, 171, 0, 0},
    {183, 172, 0, 0},
    {184, 173, 0, 0},
    {185, 174, 0, 0},
    {186, 175, 0, 0},
    {187, 176, 0, 0},
    {188, 177, 0, 0},
    {189, 178, 0, 0},
    {190, 179, 0, 0},
    {191, 180, 0, 0},
    {192, 181, 0, 0},
    {193, 182, 0, 0},
    {194, 183, 0, 0},
    {195, 184, 101, 0},
    {196, 185, 0, 0},
    {197, 186, 0, 0},
    {198, 187, 0, 0},
    {199, 188, 0, 0},
    {200, 189, 0, 0},
    {201, 190, 0, 0},
    {202, 191, 0, 0},
    {203, 192, 0, 0},
    {204, 193, 0, 0},
    {205, 194, 0, 0},
    {206, 195, 0, 0},
    {207, 196, 0, 0},
    {208, 197, 0, 0},
    {209, 198, 0, 0},
    {210, 199, 0, 0},
    {211, 200, 0, 0},
    {212, 201, 0, 0},
    {213, 202, 0, 0},
    {214, 203, 0, 0},
    {215, 204, 0, 0},
    {216, 205, 0, 0},
    {217, 206, 0, 0},
    {218, 207, 0, 0},
    {219, 208, 0, 0},
    {220, 209, 0, 0},
    {221, 210, 0, 0},
    {222, 211, 0, 0},
    {223, 212, 0, 0},
    {224, 213, 0, 0},
    {225, 214, 0, 0},
    {226, 215, 0, 0},
    {227, 216, 0, 0},
    {228, 217, 0, 0},
    {229, 218, 0, 0},
    {230, 219, 0, 0},
    {231, 220, 0, 0},
    {232, 221, 0, 0},
    {233, 222, 0, 0},
    {234, 223, 0, 0},
    {235, 224, 0, 0},
    {236, 225, 0, 0},
    {237, 226, 0, 0},
    {238, 227, 0, 0},
    {239, 254, 0, 0},
    {240, 255, 0, 0},
    {241, 256, 0, 0},
    {242, 257, 0, 0},
    {243, 258, 0, 0},
    {244, 259, 0, 0},
    {245, 260, 0, 0},
    {246, 261, 0, 0},
    {247, 262, 0, 0},
    {248, 263, 0, 0},
    {249, 264, 0, 0},
    {250, 265, 107, 0},
    {251, 266, 108, 0},
    {252, 267, 109, 0},
    {253, 268, 0, 0},
    {254, 269, 117, 0},
    {255, 270, 0, 0},
    {256, 271, 118, 0},
    {257, 272, 119, 0},
    {258, 273, 0, 0},
    {259, 274, 0, 0},
    {260, 275, 0, 0},
    {261, 276, 0, 0},
    {262, 277, 0, 0},
    {263, 278, 0, 0},
    {264, 279, 0, 0},
    {265, 280, 0, 0},
    {266, 281, 0, 0},
    {267, 278, 0, 0},
    {268, 129, 0, 0},
    {269, 282, 0, 0},
    {270, 283, 0, 0},
    {271, 284, 0, 0},
    {272, 285, 0, 0},
    {273, 284, 0, 0},
    {274, 285, 0, 0},
    {275, 286, 0, 0},
    {276, 287, 0, 0},
    {277, 288, 0, 0},
    {278, 289, 0, 0},
    {279, 290, 129, 0},
    {280, 291, 0, 0},
    {281, 292, 120, 0},
    {282, 293, 0, 0},
    {283, 294, 121, 0},
    {284, 295, 122, 0},
    {285, 296, 0, 0},
    {286, 297, 0, 0},
    {287, 298, 0, 0},
    {288, 299, 0, 0},
    {289, 300, 0, 1},
    {290, 301, 0, 1},
    {291, 302, 0, 1},
    {292, 303, 0, 1},
    {293, 304, 0, 1},
    {294, 305, 0, 1},
    {295, 306, 0, 0},
    {296, 307, 0, 0},
    {297, 308, 0, 0},
    {298, 309, 0, 0},
    {299, 310, 0, 0},
    {300, 311, 0, 0},
    {301, 312, 0, 0},
    {302, 313, 0, 0},
    {303, 314, 0, 0},
    {304, 315, 0, 0},
    {305, 316, 0, 0},
    {306, 317, 0, 0},
    {307, 318, 0, 0},
    {308, 319, 0, 0},
    {309, 320, 0, 0},
    {310, 321, 0, 0},
    {311, 322, 0, 0},
    {312, 323, 0, 0},
    {313, 324, 0, 0},
    {314, 325, 0, 0},
    {315, 326, 0, 0},
    {316, 327, 0, 0},
    {317, 328, 133, 0},
    {318, 329, 134, 0},
    {319, 330, 0, 0},
    {320, 331, 0, 0},
    {321, 332, 0, 0},
    {322, 333, 0, 0},
    {323, 334, 0, 0},
    {324, 335, 0, 0},
    {325, 336, 0, 0},
    {326, 337, 0, 0},
    {327, 338, 0, 0},
    {328, 339, 0, 0},
    {329, 340, 0, 0},
    {330, 341, 0, 0},
    {331, 342, 0, 0},
    {332, 343, 0, 0},
    {333, 344, 0, 0},
    {334, 345, 130, 0},
    {335, 346, 0, 0},
    {336, 133, 0, 0},
    {337, 347, 52, 0},
    {338, 348, 0, 0},
    {339, 349, 0, 0},
    {340, 350, 0, 0},
    {341, 351, 0, 0},
    {342, 352, 0, 0},
    {343, 353, 0, 0},
    {344, 354, 0, 0},
    {345, 355, 0, 0},
    {346, 356, 135, 0},
    {347, 357, 0, 0},
    {348, 358, 0, 0},
    {349, 359, 0, 0},
    {350, 360, 0, 0},
    {351, 361, 0, 0},
    {352, 362, 0, 0},
    {353, 363, 0, 0},
    {354, 364, 0, 0},
    {355, 365, 0, 0},
    {356, 366, 0, 0},
    {357, 367, 0, 0},
    {360, 368, 0, 0},
    {361, 369, 0, 0},
    {362, 370, 144, 0},
    {363, 371, 0, 0},
    {364, 372, 0, 0},
    {365, 373, 140, 0},
    {366, 374, 141, 0},
    {367, 375, 142, 0},
    {368, 376, 0, 0},
    {369, 377, 0, 0},
    {370, 378, 0, 0},
    {371, 379, 0, 0},
    {372, 380, 0, 0},
    {373, 381, 0, 0},
    {374, 382, 0, 0},
    {375, 383, 0, 0},
    {376, 384, 0, 0},
    {377, 385, 0, 0},
    {378, 386, 0, 0},
    {379, 387, 0, 0},
    {380, 388, 0, 0},
    {381, 389, 0, 0},
    {382, 390, 0, 0},
    {383, 391, 0, 0},
    {384, 387, 0, 0},
    {385, 392, 0, 1},
    {386, 393, 0, 0},
    {387, 394, 0, 0},
    {388, 395, 0, 1},
    {389, 396, 0, 1},
    {390, 397, 0, 0},
    {391, 398, 0, 0},
    {392, 36, 59, 0},
    {393, 37, 60, 0},
    {394, 399, 0, 0},
    {395, 400, 0, 0},
    {396, 401, 0, 0},
    {397, 402, 0, 0},
    {398, 403, 0, 0},
    {399, 404, 61, 0},
    {400, 405, 62, 0},
    {401, 406, 0, 0},
    {402, 407, 0, 0},
    {403, 408, 0, 0},
    {404, 409, 0, 0},
    {405, 410, 0, 0},
    {406, 411, 0, 0},
    {407, 412, 0, 0},
    {408, 413, 0, 0},
    {409, 414, 0, 0},
    {410, 415, 39, 0},
    {411, 416, 0, 0},
    {412, 417, 0, 0},
    {413, 418, 0, 0},
    {414, 419, 0, 0},
    {415, 420, 0, 0},
    {416, 421, 0, 0},
    {417, 422, 0, 0},
    {418, 423, 0, 0},
    {419, 424, 0, 0},
    {420, 425, 0, 0},
    {421, 426, 0, 0},
    {422, 427, 0, 0},
    {423, 428, 0, 0},
    {424, 429, 0, 0},
    {425, 418, 0, 0},
    {426, 419, 0, 0},
    {427, 420, 0, 0},
    {428, 421, 0, 0},
    {429, 422, 0, 0},
    {430, 423, 0, 0},
    {431, 424, 0, 0},
    {432, 425, 0, 0},
    {433, 426, 0, 0},
    {434, 427, 0, 0},
    {435, 430, 148, 1},
    {436, 431, 0, 1},
    {437, 432, 0, 1},
    {438, 433, 0, 0},
    {439, 434, 0, 0},
    {440, 435, 0, 1},
    {441, 436, 149, 1},
    {442, 437, 0, 1},
    {443, 438, 0, 1},
    {444, 439, 0, 1},
    {445, 440, 0, 0},
    {-1, 0, 0, 0},
};

// Item lists of the pages, each ended by -1.
const int16_t MenuItemPool[] = {
    18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 1 main menu of the flight screens
    392, 393, 18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 2 main menu of the flight screens with COMM and XPDR
    392, 18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 3 main menu of the flight screens with COMM
    393, 18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 4 main menu of the flight screens with XPDR
    21, 18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 5 main menu of the flight screens with OBS
    392, 393, 21, 18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 6 main menu with COMM, XPDR and OBS
    392, 21, 18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 7 main menu with COMM and OBS
    393, 21, 18, 2, 3, 14, 8, 295, 288, 313, 15, -1,  // 8 main menu with XPDR and OBS
    17, 19, 20, 22, 23, 15, -1,  // 9 heading and bugs
    18, 2, 3, 14, 9, 295, 288, 313, 15, -1,  // 10 main menu of the engine screens
    392, 393, 18, 2, 3, 14, 9, 295, 288, 313, 15, -1,  // 11 engine main menu with COMM and XPDR
    392, 18, 2, 3, 14, 9, 295, 288, 313, 15, -1,  // 12 engine main menu with COMM
    393, 18, 2, 3, 14, 9, 295, 288, 313, 15, -1,  // 13 engine main menu with XPDR
    1, 29, 4, 30, 31, 5, 6, 7, 16, -1,  // 14 checklists (with back item)
    29, 4, 30, 31, 5, 6, 7, 16, -1,  // 15 checklists
    32, 253, 333, 346, 15, -1,  // 16 setup menu, user, flight
    97, 253, 333, 346, 15, -1,  // 17 setup menu, user, engine
    32, 146, 33, 253, 35, 51, 357, 346, 314, 15, -1,  // unused: page 18 before "Change Password"
    97, 147, 34, 253, 35, 52, 346, 314, 15, -1,  // unused: page 19 before "Change Password"
    120, 15, -1,  // unused: page 20 before the configuration files
    115, 120, 119, 15, -1,  // unused: page 21 before the configuration files
    1, 53, 54, 55, -1,  // 22 data sharing priority
    1, 60, 59, 56, 57, 58, -1,  // 23 custom flight units
    1, 98, -1,  // 24 flight range and limits
    1, 65, 66, 67, 68, -1,  // 25 flight unit system
    1, 71, 72, 73, -1,  // 26 airspeed unit
    1, 74, 75, -1,  // 27 altitude unit
    1, 77, 76, -1,  // 28 temperature unit
    1, 78, 79, 80, -1,  // 29 quantity unit
    1, 81, 82, 83, -1,  // 30 barometric pressure unit
    1, 88, 99, 89, -1,  // 31 vertical speed unit
    1, 90, 91, 92, -1,  // 32 pressure unit
    1, 94, 95, 96, -1,  // 33 distance unit
    1, 65, 66, 67, 69, -1,  // 34 engine unit system
    1, 61, 62, 63, 64, -1,  // 35 custom engine units
    1, 84, 85, 86, -1,  // 36 manifold pressure unit
    1, 103, 102, 101, 100, -1,  // 37 airspeed limits
    1, 48, 104, 105, 409, 410, 408, -1,  // 38 COMM radio settings
    1, 411, 412, -1,  // 39 frequency step
    1, 48, 104, 105, 438, 439, -1,  // 40 transponder settings
    1, 413, 414, 415, 416, 417, 418, 419, 420, 421, 422, -1,  // 41 radio memory fields
    1, 423, 424, -1,  // 42 memory field
    1, 48, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, -1,  // 43 GPS port, baud and protocol
    1, 48, 104, 105, -1,  // 44 SL30 port
    1, 48, 104, 105, -1,  // 45 service communication port
    1, 48, 104, 105, -1,  // 46 CO Guardian port
    1, 48, 104, 105, 106, 107, 108, 109, 110, 111, 114, -1,  // 47 altitude encoder port, baud and protocol
    1, 36, 37, 39, 38, 40, 41, 50, -1,  // 48 external devices, flight
    1, 259, 260, 261, 277, 278, 279, 162, 169, -1,  // 49 other setting, flight
    1, 279, -1,  // 50 other setting, backlight only
    1, 48, 47, 337, 338, -1,  // 51 remote compass
    1, 339, 340, 341, 342, -1,  // 52 remote compass settings
    1, 343, 344, 345, -1,  // 53 remote compass mounting
    1, 36, 37, 50, 39, 435, -1,  // 54 external devices, engine
    1, 42, -1,  // 55 COMM type
    1, 43, -1,  // 56 XPDR type
    1, 44, -1,  // 57 COMM radio models
    1, 45, -1,  // 58 XPDR models
    1, 394, 395, 396, 397, -1,  // 59 COMM panel menu
    1, 398, 399, 400, -1,  // 60 XPDR menu
    1, 401, 402, 403, -1,  // 61 XPDR mode
    1, 404, 405, 406, 407, -1,  // 62 emergency squawk
    1, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, -1,  // 63 engine range and limits
    1, 140, 141, 142, 143, -1,  // 64 RPM limits
    1, 140, 141, 142, -1,  // 65 EGT limits
    1, 140, 141, 142, -1,  // 66 CHT limits
    1, 140, 144, -1,  // 67 limits: range and alarm min
    1, 140, 144, -1,  // 68 limits: range and alarm min
    1, 140, 141, -1,  // 69 fuel flow limits
    1, 140, 141, 142, 145, 144, -1,  // 70 fuel pressure limits
    1, 140, 141, 142, 145, 144, -1,  // 71 rotor RPM limits
    1, 140, 142, 145, -1,  // 72 manifold pressure limits
    1, 140, 141, 142, 143, -1,  // 73 water CHT limits
    1, 140, 141, 142, 143, -1,  // 74 water aux limits
    1, 140, 141, 142, 143, 145, 144, -1,  // 75 oil temperature limits
    1, 140, 141, 142, 143, 145, 144, -1,  // 76 oil pressure limits
    1, 140, 141, 142, 145, 144, -1,  // 77 limits with minima
    1, 140, 141, 142, 145, 144, -1,  // 78 limits with minima
    1, 148, 149, 150, 151, 152, 153, 154, 155, 156, 157, 158, 195, 196, 159, 160, 167, 168, -1,  // 79 configuration and sensors, engine
    1, 159, 160, 161, -1,  // 80 configuration and sensors, flight
    1, 48, 47, -1,  // 81 RPM input
    1, 48, 214, -1,  // 82 manifold pressure sensor
    1, 48, 47, -1,  // 83 rotor RPM input
    1, 48, 220, 221, 222, 233, -1,  // 84 oil pressure sensor
    1, 48, 223, 224, 225, 226, -1,  // 85 oil temperature sensor
    1, 48, 223, 224, 225, 226, -1,  // 86 water CHT sensor
    1, 48, 223, 224, 225, 226, 212, 234, -1,  // 87 water aux sensor
    1, 48, 215, 216, 217, -1,  // 88 sensor choice
    1, 48, 215, 216, 217, -1,  // 89 sensor choice
    1, 48, 218, 219, 222, 233, 235, -1,  // 90 fuel pressure sensor
    1, 48, 47, -1,  // 91 fuel flow input
    1, 48, 212, 223, 224, 225, 226, 234, -1,  // 92 IAT sensor
    1, 48, 212, 223, 224, 225, 226, 234, -1,  // 93 OAT sensor
    1, 163, 164, 165, -1,  // 94 AUX input/output
    1, 48, 170, 171, -1,  // 95 canopy input
    1, 48, 170, 171, -1,  // 96 gear up input
    1, 48, 170, 171, -1,  // 97 gear down input
    1, 175, 176, -1,  // 98 yes/no
    1, 177, 178, 179, 180, 181, 182, 183, 184, 185, -1,  // 99 voltage inputs
    1, 186, 187, 188, 189, 190, 191, 192, 193, 194, -1,  // 100 current inputs
    1, 197, 198, 199, -1,  // 101 EGT/CHT count
    1, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, -1,  // 102 EGT/CHT channels, six cylinders
    1, 200, 201, 202, 203, 206, 207, 208, 209, -1,  // 103 EGT/CHT channels, four cylinders
    1, 200, 201, 206, 207, -1,  // 104 EGT/CHT channels, two cylinders
    1, 48, 250, 252, -1,  // 105 thermocouple channel, type J
    1, 48, 250, 251, -1,  // 106 thermocouple channel, type K
    1, 238, 239, 240, 241, 242, 243, 244, 245, 246, 247, 248, 249, -1,  // 107 thermocouple input
    1, 231, 232, 236, -1,  // 108 type K sensors
    1, 227, 228, 229, 230, 237, -1,  // 109 type J sensors
    1, 259, 260, 261, 279, 162, 254, 275, 255, 265, 445, 256, 257, 258, 334, 169, -1,  // 110 other setting and calibration, engine
    1, 259, 260, 261, 279, 162, 254, 275, 256, 257, 258, 334, 169, -1,  // 111 other setting and calibration, engine without fuel calibration
    1, 279, -1,  // 112 other setting, backlight only
    1, 263, 264, -1,  // 113 tank choice for fuel calibration
    1, 267, 268, -1,  // 114 tank choice for unexhaustible fuel
    1, 262, -1,  // 115 total tank for fuel calibration
    1, 266, -1,  // 116 total tank for unexhaustible fuel
    1, 269, 270, -1,  // 117 fuel flow setting
    1, 271, 272, -1,  // 118 RPM setting
    1, 273, -1,  // 119 rotor RPM setting
    1, 172, 173, 174, -1,  // 120 external dimmer voltage
    1, 280, 281, 282, -1,  // 121 dimmer source
    1, 285, 286, 287, -1,  // 122 backlight colour
    1, 289, 290, 291, 292, 293, 294, -1,  // 123 other setting, flight screens
    1, 440, 293, 294, -1,  // 124 other setting, engine screens
    1, 27, 24, 26, -1,  // 125 navigation source
    296, 297, 298, 299, 300, 301, 302, 303, 304, 305, 306, -1,  // 126 voice messages
    1, 307, 308, 309, 310, 311, 312, -1,  // 127 autopilot holds
    1, 12, 13, -1,  // 128 statistic
    1, 283, 284, -1,  // 129 backlight control
    1, 335, 336, -1,  // 130 water/CHT label
    1, 48, 47, -1,  // 131 main switch control
    1, 315, 316, 317, 318, 321, -1,  // 132 demo mode
    1, 322, 323, 324, 325, -1,  // 133 demo device type
    1, 326, 327, 328, 329, 330, 331, 332, -1,  // 134 demo reset time
    1, 347, 348, 350, 351, 349, 352, -1,  // 135 language
    354, 355, 356, -1,  // 136 role choice (no item or key opens it)
    1, 360, 361, 362, 364, 363, -1,  // 138 autopilot setup
    1, 365, 366, 368, -1,  // 139 servo setup
    1, 369, 370, 371, -1,  // 140 roll servo
    1, 369, 370, 371, -1,  // 141 pitch servo
    1, 369, 370, 371, -1,  // 142 yaw servo
    1, 372, 373, -1,  // 143 servo deflection
    1, 374, 375, 376, 377, 378, -1,  // 144 external button
    1, 379, 380, 381, 382, 383, -1,  // 145 roll axis setup
    1, 384, 385, 386, 387, 388, 389, 390, 391, -1,  // 146 pitch axis setup
    1, 425, 426, 427, 428, 429, 430, 431, 432, 433, 434, -1,  // 147 radio memories
    1, 48, 436, 437, 441, -1,  // 148 engine ECU
    1, 442, 443, 444, -1,  // 149 ECU diagnostics
    // The installer's setup menus offer "Change Password" too, so that a password can be set.
    32, 146, 33, 253, 333, 35, 51, 357, 346, 314, 15, -1,  // 18 setup menu, installer, flight
    97, 147, 34, 253, 333, 35, 52, 346, 314, 15, -1,  // 19 setup menu, installer, engine
    // The data port pages offer the configuration and flight data files too.
    116, 117, 118, 120, 15, -1,  // 20 data port, user
    115, 116, 117, 118, 120, 119, 15, -1,  // 21 data port, installer
};
const int MenuItemPoolSize = static_cast<int>(sizeof MenuItemPool / sizeof MenuItemPool[0]);

const TMenuPage MenuPages[MenuPageCount + 1] = {
    {1, 0, nullptr, nullptr, nullptr},
    {2, 10, nullptr, nullptr, nullptr},
    {3, 22, nullptr, nullptr, nullptr},
    {4, 33, nullptr, nullptr, nullptr},
    {5, 44, nullptr, nullptr, nullptr},
    {6, 55, nullptr, nullptr, nullptr},
    {7, 68, nullptr, nullptr, nullptr},
    {8, 80, nullptr, nullptr, nullptr},
    {9, 92, nullptr, nullptr, nullptr},
    {10, 99, nullptr, nullptr, nullptr},
    {11, 109, nullptr, nullptr, nullptr},
    {12, 121, nullptr, nullptr, nullptr},
    {13, 132, nullptr, nullptr, nullptr},
    {14, 143, nullptr, nullptr, nullptr},
    {15, 153, nullptr, nullptr, nullptr},
    {16, 162, nullptr, nullptr, nullptr},
    {17, 168, nullptr, nullptr, nullptr},
    {18, 1015, nullptr, nullptr, nullptr},
    {19, 1027, nullptr, nullptr, nullptr},
    {20, 1038, nullptr, nullptr, nullptr},
    {21, 1044, nullptr, nullptr, nullptr},
    {22, 203, nullptr, nullptr, nullptr},
    {23, 208, nullptr, nullptr, nullptr},
    {24, 215, nullptr, nullptr, nullptr},
    {25, 218, nullptr, nullptr, nullptr},
    {26, 224, nullptr, nullptr, nullptr},
    {27, 229, nullptr, nullptr, nullptr},
    {28, 233, nullptr, nullptr, nullptr},
    {29, 237, nullptr, nullptr, nullptr},
    {30, 242, nullptr, nullptr, nullptr},
    {31, 247, nullptr, nullptr, nullptr},
    {32, 252, nullptr, nullptr, nullptr},
    {33, 257, nullptr, nullptr, nullptr},
    {34, 262, nullptr, nullptr, nullptr},
    {35, 268, nullptr, nullptr, nullptr},
    {36, 274, nullptr, nullptr, nullptr},
    {37, 279, nullptr, nullptr, nullptr},
    {38, 285, nullptr, nullptr, nullptr},
    {39, 293, nullptr, nullptr, nullptr},
    {40, 297, nullptr, nullptr, nullptr},
    {41, 304, nullptr, nullptr, nullptr},
    {42, 316, nullptr, nullptr, nullptr},
    {43, 320, nullptr, nullptr, nullptr},
    {44, 333, nullptr, nullptr, nullptr},
    {45, 338, nullptr, nullptr, nullptr},
    {46, 343, nullptr, nullptr, nullptr},
    {47, 348, nullptr, nullptr, nullptr},
    {48, 360, nullptr, nullptr, nullptr},
    {49, 369, nullptr, nullptr, nullptr},
    {50, 379, nullptr, nullptr, nullptr},
    {51, 382, nullptr, nullptr, nullptr},
    {52, 388, nullptr, nullptr, nullptr},
    {53, 394, nullptr, nullptr, nullptr},
    {54, 399, nullptr, nullptr, nullptr},
    {55, 406, nullptr, nullptr, nullptr},
    {56, 409, nullptr, nullptr, nullptr},
    {57, 412, nullptr, nullptr, nullptr},
    {58, 415, nullptr, nullptr, nullptr},
    {59, 418, nullptr, nullptr, nullptr},
    {60, 424, nullptr, nullptr, nullptr},
    {61, 429, nullptr, nullptr, nullptr},
    {62, 434, nullptr, nullptr, nullptr},
    {63, 440, nullptr, nullptr, nullptr},
    {64, 461, nullptr, nullptr, nullptr},
    {65, 467, nullptr, nullptr, nullptr},
    {66, 472, nullptr, nullptr, nullptr},
    {67, 477, nullptr, nullptr, nullptr},
    {68, 481, nullptr, nullptr, nullptr},
    {69, 485, nullptr, nullptr, nullptr},
    {70, 489, nullptr, nullptr, nullptr},
    {71, 496, nullptr, nullptr, nullptr},
    {72, 503, nullptr, nullptr, nullptr},
    {73, 508, nullptr, nullptr, nullptr},
    {74, 514, nullptr, nullptr, nullptr},
    {75, 520, nullptr, nullptr, nullptr},
    {76, 528, nullptr, nullptr, nullptr},
    {77, 536, nullptr, nullptr, nullptr},
    {78, 543, nullptr, nullptr, nullptr},
    {79, 550, nullptr, nullptr, nullptr},
    {80, 569, nullptr, nullptr, nullptr},
    {81, 574, nullptr, nullptr, nullptr},
    {82, 578, nullptr, nullptr, nullptr},
    {83, 582, nullptr, nullptr, nullptr},
    {84, 586, nullptr, nullptr, nullptr},
    {85, 593, nullptr, nullptr, nullptr},
    {86, 600, nullptr, nullptr, nullptr},
    {87, 607, nullptr, nullptr, nullptr},
    {88, 616, nullptr, nullptr, nullptr},
    {89, 622, nullptr, nullptr, nullptr},
    {90, 628, nullptr, nullptr, nullptr},
    {91, 636, nullptr, nullptr, nullptr},
    {92, 640, nullptr, nullptr, nullptr},
    {93, 649, nullptr, nullptr, nullptr},
    {94, 658, nullptr, nullptr, nullptr},
    {95, 663, nullptr, nullptr, nullptr},
    {96, 668, nullptr, nullptr, nullptr},
    {97, 673, nullptr, nullptr, nullptr},
    {98, 678, nullptr, nullptr, nullptr},
    {99, 682, nullptr, nullptr, nullptr},
    {100, 693, nullptr, nullptr, nullptr},
    {101, 704, nullptr, nullptr, nullptr},
    {102, 709, nullptr, nullptr, nullptr},
    {103, 723, nullptr, nullptr, nullptr},
    {104, 733, nullptr, nullptr, nullptr},
    {105, 739, nullptr, nullptr, nullptr},
    {106, 744, nullptr, nullptr, nullptr},
    {107, 749, nullptr, nullptr, nullptr},
    {108, 763, nullptr, nullptr, nullptr},
    {109, 768, nullptr, nullptr, nullptr},
    {110, 775, nullptr, nullptr, nullptr},
    {111, 792, nullptr, nullptr, nullptr},
    {112, 806, nullptr, nullptr, nullptr},
    {113, 809, nullptr, nullptr, nullptr},
    {114, 813, nullptr, nullptr, nullptr},
    {115, 817, nullptr, nullptr, nullptr},
    {116, 820, nullptr, nullptr, nullptr},
    {117, 823, nullptr, nullptr, nullptr},
    {118, 827, nullptr, nullptr, nullptr},
    {119, 831, nullptr, nullptr, nullptr},
    {120, 834, nullptr, nullptr, nullptr},
    {121, 839, nullptr, nullptr, nullptr},
    {122, 844, nullptr, nullptr, nullptr},
    {123, 849, nullptr, nullptr, nullptr},
    {124, 857, nullptr, nullptr, nullptr},
    {125, 862, nullptr, nullptr, nullptr},
    {126, 867, nullptr, nullptr, nullptr},
    {127, 879, nullptr, nullptr, nullptr},
    {128, 887, nullptr, nullptr, nullptr},
    {129, 891, nullptr, nullptr, nullptr},
    {130, 895, nullptr, nullptr, nullptr},
    {131, 899, nullptr, nullptr, nullptr},
    {132, 903, nullptr, nullptr, nullptr},
    {133, 910, nullptr, nullptr, nullptr},
    {134, 916, nullptr, nullptr, nullptr},
    {135, 925, nullptr, nullptr, nullptr},
    {136, 933, nullptr, nullptr, nullptr},
    {138, 937, nullptr, nullptr, nullptr},
    {139, 944, nullptr, nullptr, nullptr},
    {140, 949, nullptr, nullptr, nullptr},
    {141, 954, nullptr, nullptr, nullptr},
    {142, 959, nullptr, nullptr, nullptr},
    {143, 964, nullptr, nullptr, nullptr},
    {144, 968, nullptr, nullptr, nullptr},
    {145, 975, nullptr, nullptr, nullptr},
    {146, 982, nullptr, nullptr, nullptr},
    {147, 992, nullptr, nullptr, nullptr},
    {148, 1004, nullptr, nullptr, nullptr},
    {149, 1010, nullptr, nullptr, nullptr},
    {-1, -1, nullptr, nullptr, nullptr},
};
