// The menu's constant tables: texts, items and pages. Texts are message ids of the
// catalogues in the fonts' code page (Windows-1252).
#include <iterator>

#include "menu.h"
#include "textpool.h"

#define gettext_noop(s) s

// Texts in text-id order, NUL-separated. Text ids 228..253 are the sensor names drawn in
// place of 201..226 in setup mode on device type 30.
constexpr char MenuTextPool[] =
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

// Text id n is the n-th text of the pool.
constexpr TPoolRows<TMenuText, MenuTextCount> TextTable = PoolRows<TMenuText, MenuTextCount>(MenuTextPool, -1);

const TMenuText (&MenuTexts)[MenuTextCount + 1] = TextTable.rows;

const TMenuItem MenuItems[MenuItemCount + 1] = {
    {ItemBack, 1, PageNone, 0},
    {ItemChecklist, 2, PageNone, 0},
    {ItemStatistic, 3, PageNone, 0},
    {ItemBeforeStartEngine, 4, PageNone, 0},
    {ItemBeforeTakeOff, 5, PageNone, 0},
    {ItemLanding, 6, PageNone, 0},
    {ItemAfterLanding, 7, PageNone, 0},
    {ItemOtherSettingFlight, 8, PageOtherFlightScreens, 0},
    {ItemOtherSettingEngine, 9, PageOtherEngineScreens, 0},
    {ItemVoiceWarningHolds, 10, PageAutopilotHolds, 0},
    {ItemVoiceWarningStatistic, 11, PageStatistic, 0},
    {ItemTankQuantity, 12, PageNone, 0},
    {ItemVoltAndCurrent, 13, PageNone, 0},
    {ItemEntertainment, 14, PageNone, 0},
    {ItemExitMenu, 15, PageNone, 0},
    {ItemShutDown, 16, PageNone, 0},
    {ItemHeadingSet, 17, PageNone, 0},
    {ItemBrightness, 18, PageNone, 0},
    {ItemBoreSight, 19, PageNone, 0},
    {ItemNavSource, 20, PageNavSource, 0},
    {ItemObsSetting, 21, PageNone, 0},
    {ItemAltBug, 22, PageNone, 0},
    {ItemIasBug, 23, PageNone, 0},
    {ItemNavVorLoc, 24, PageNone, 0},
    {ItemNavApr, 25, PageNone, 0},
    {ItemNavGps, 26, PageNone, 0},
    {ItemNavOff, 27, PageNone, 0},
    {ItemSetupMenu, 28, PageNone, 0},
    {ItemPreflightCheck, 29, PageNone, 0},
    {ItemStartingEngine, 30, PageNone, 0},
    {ItemEngineRunup, 31, PageNone, 0},
    {ItemUnitsFlight, 32, PageNone, 0},
    {ItemRangeLimitsFlight, 33, PageFlightRangeLimits, 0},
    {ItemRangeLimitsEngine, 34, PageNone, 0},
    {ItemExternalDevices, 35, PageNone, 0},
    {ItemCommDevice, 36, PageCommType, 0},
    {ItemXpdrDevice, 37, PageXpdrType, 0},
    {ItemSl30NavCom, 38, PageSl30Port, 0},
    {ItemGpsDevice, 39, PageGpsPort, 0},
    {ItemRemoteCompass, 40, PageRemoteCompass, 0},
    {ItemAltitudeEncoder, 41, PageEncoderPort, 0},
    {ItemCommType, 42, PageCommModels, 0},
    {ItemXpdrType, 43, PageXpdrModels, 0},
    {ItemCommModel, 44, PageCommSettings, 0},
    {ItemXpdrModel, 45, PageXpdrSettings, 0},
    {ItemNoDevice, 46, PageNone, 0},
    {ItemConnected, 47, PageNone, 0},
    {ItemNotConnected, 48, PageNone, 0},
    {ItemServiceCommunication, 49, PageServicePort, 0},
    {ItemCoGuardian, 50, PageCoGuardianPort, 0},
    {ItemEfisDataSharing, 51, PageNone, 0},
    {ItemEmsDataSharing, 52, PageNone, 0},
    {ItemSharingOff, 53, PageNone, 0},
    {ItemSharingLow, 54, PageNone, 0},
    {ItemSharingHigh, 55, PageNone, 0},
    {ItemBaroPressure, 56, PageBaroUnit, 0},
    {ItemDistance, 57, PageDistanceUnit, 0},
    {ItemVsi, 58, PageVerticalSpeedUnit, 0},
    {ItemAltitude, 59, PageAltitudeUnit, 0},
    {ItemCustomAirspeed, 60, PageAirspeedUnit, 0},
    {ItemManPressure, 61, PageManifoldUnit, 0},
    {ItemTemperature, 62, PageTemperatureUnit, 0},
    {ItemPressure, 63, PagePressureUnit, 0},
    {ItemQuantity, 64, PageQuantityUnit, 0},
    {ItemMetric, 65, PageNone, 0},
    {ItemImperialUk, 66, PageNone, 0},
    {ItemImperialUs, 67, PageNone, 0},
    {ItemCustomFlight, 68, PageCustomFlightUnits, 0},
    {ItemCustomEngine, 69, PageCustomEngineUnits, 0},
    {ItemAirspeedCaption, 70, PageNone, 0},
    {ItemKmh, 71, PageNone, 0},
    {ItemKts, 72, PageNone, 0},
    {ItemMph, 73, PageNone, 0},
    {ItemFeet, 74, PageNone, 0},
    {ItemMetre, 75, PageNone, 0},
    {ItemFahrenheit, 76, PageNone, 0},
    {ItemCelsius, 77, PageNone, 0},
    {ItemLitre, 78, PageNone, 0},
    {ItemGallonsUs, 79, PageNone, 0},
    {ItemGallonsUk, 80, PageNone, 0},
    {ItemBaroInHg, 81, PageNone, 0},
    {ItemBaroMbar, 82, PageNone, 0},
    {ItemBaroTorr, 83, PageNone, 0},
    {ItemManInHg, 84, PageNone, 0},
    {ItemManMbar, 85, PageNone, 0},
    {ItemManTorr, 86, PageNone, 0},
    {ItemMmHg, 87, PageNone, 0},
    {ItemFtMin, 88, PageNone, 0},
    {ItemMetresPerSecond, 89, PageNone, 0},
    {ItemBar, 90, PageNone, 0},
    {ItemPsi, 91, PageNone, 0},
    {ItemKgCm2, 92, PageNone, 0},
    {ItemKpa, 93, PageNone, 0},
    {ItemKilometers, 94, PageNone, 0},
    {ItemNauticalMiles, 95, PageNone, 0},
    {ItemStatuteMiles, 96, PageNone, 0},
    {ItemUnitsEngine, 97, PageNone, 0},
    {ItemAirspeedLimits, 98, PageNone, 0},
    {ItemVsKts, 99, PageNone, 0},
    {ItemVs, 100, PageNone, 0},
    {ItemVfe, 101, PageNone, 0},
    {ItemVno, 102, PageNone, 0},
    {ItemVne, 103, PageNone, 0},
    {ItemCom1, 104, PageNone, 0},
    {ItemCom2, 105, PageNone, 0},
    {ItemBaud115200, 106, PageNone, 0},
    {ItemBaud57600, 107, PageNone, 0},
    {ItemBaud38400, 108, PageNone, 0},
    {ItemBaud19200, 109, PageNone, 0},
    {ItemBaud9600, 110, PageNone, 0},
    {ItemBaud4800, 111, PageNone, 0},
    {ItemProtocolNmea, 112, PageNone, 0},
    {ItemProtocolArnav, 113, PageNone, 0},
    {ItemProtocolIcarus, 114, PageNone, 0},
    {ItemImportChecklist, 115, PageNone, 0},
    {ItemImportConfiguration, 116, PageNone, 0},
    {ItemExportConfiguration, 117, PageNone, 0},
    {ItemExportFlightData, 118, PageNone, 0},
    {ItemUpdateFirmware, 119, PageNone, 0},
    {ItemExportServiceLog, 120, PageNone, 0},
    {ItemLimitsRpm, 121, PageRpmLimits, 0},
    {ItemLimitsMap, 122, PageManifoldLimits, 0},
    {ItemLimitsRotorRpm, 123, PageRotorRpmLimits, 0},
    {ItemLimitsOilPressure, 124, PageOilPressureLimits, 0},
    {ItemLimitsOilTemperature, 125, PageOilTemperatureLimits, 0},
    {ItemLimitsWaterCht, 126, PageWaterChtLimits, 0},
    {ItemLimitsWaterAux, 127, PageWaterAuxLimits, 0},
    {ItemLimitsLeftTank, 128, PageNone, 0},
    {ItemLimitsRightTank, 129, PageNone, 0},
    {ItemLimitsFuelPressure, 130, PageFuelPressureLimits, 0},
    {ItemLimitsFuelFlow, 131, PageFuelFlowLimits, 0},
    {ItemLimitsEgt, 132, PageEgtLimits, 0},
    {ItemLimitsCht, 133, PageChtLimits, 0},
    {ItemLimitsVoltage1, 134, PageNone, 0},
    {ItemLimitsCurrent1, 135, PageNone, 0},
    {ItemLimitsVoltage2, 136, PageNone, 0},
    {ItemLimitsCurrent2, 137, PageNone, 0},
    {ItemLimitsVoltage3, 138, PageNone, 0},
    {ItemLimitsCurrent3, 139, PageNone, 0},
    {ItemLimitRange, 140, PageNone, 0},
    {ItemLimitAlarm, 141, PageNone, 0},
    {ItemLimitWarning, 142, PageNone, 0},
    {ItemLimitNormal, 143, PageNone, 0},
    {ItemLimitAlarmMin, 144, PageNone, 0},
    {ItemLimitWarningMin, 145, PageNone, 0},
    {ItemSensorsFlight, 146, PageNone, 0},
    {ItemSensorsEngine, 147, PageNone, 0},
    {ItemSensorRpm, 121, PageRpmInput, 0},
    {ItemSensorMap, 122, PageManifoldSensor, 0},
    {ItemSensorRotorRpm, 123, PageRotorRpmInput, 0},
    {ItemSensorOilPressure, 124, PageOilPressureSensor, 0},
    {ItemSensorOilTemperature, 125, PageOilTemperatureSensor, 0},
    {ItemSensorWaterCht, 126, PageWaterChtSensor, 0},
    {ItemSensorWaterAux, 127, PageWaterAuxSensor, 0},
    {ItemSensorLeftTank, 128, PageNone, 0},
    {ItemSensorRightTank, 129, PageNone, 0},
    {ItemSensorFuelPressure, 130, PageFuelPressureSensor, 0},
    {ItemSensorFuelFlow, 131, PageFuelFlowInput, 0},
    {ItemSensorIat, 148, PageIatSensor, 0},
    {ItemSensorOat, 149, PageOatSensor, 0},
    {ItemSensorAuxt, 150, PageWaterAuxSensor, 0},
    {ItemAuxInputOutput, 151, PageAuxInputOutput, 0},
    {ItemCanopy, 152, PageCanopyInput, 0},
    {ItemGearUp, 153, PageGearUpInput, 0},
    {ItemGearDown, 154, PageGearDownInput, 0},
    {ItemExternSignal, 155, PageExternalSignal, 0},
    {ItemVoltageInputs, 156, PageVoltageInputs, 0},
    {ItemCurrentInputs, 157, PageCurrentInputs, 0},
    {ItemMainSwitchControl, 158, PageMainSwitch, 0},
    {ItemInputHigh, 159, PageNone, 0},
    {ItemInputLow, 160, PageNone, 0},
    {ItemMax5V, 161, PageNone, 0},
    {ItemMax12V, 162, PageNone, 0},
    {ItemMax24V, 163, PageNone, 0},
    {ItemYes, 164, PageNone, 0},
    {ItemNo, 165, PageNone, 0},
    {ItemVoltage1Yes, 166, PageNone, 0},
    {ItemVoltage1No, 167, PageNone, 0},
    {ItemVoltage1Label, 168, PageNone, 0},
    {ItemVoltage2Yes, 169, PageNone, 0},
    {ItemVoltage2No, 170, PageNone, 0},
    {ItemVoltage2Label, 171, PageNone, 0},
    {ItemVoltage3Yes, 172, PageNone, 0},
    {ItemVoltage3No, 173, PageNone, 0},
    {ItemVoltage3Label, 174, PageNone, 0},
    {ItemCurrent1Yes, 175, PageNone, 0},
    {ItemCurrent1No, 176, PageNone, 0},
    {ItemCurrent1Label, 177, PageNone, 0},
    {ItemCurrent2Yes, 178, PageNone, 0},
    {ItemCurrent2No, 179, PageNone, 0},
    {ItemCurrent2Label, 180, PageNone, 0},
    {ItemCurrent3Yes, 181, PageNone, 0},
    {ItemCurrent3No, 182, PageNone, 0},
    {ItemCurrent3Label, 183, PageNone, 0},
    {ItemEgtChtNumber, 184, PageCylinderCount, 0},
    {ItemEgtChtSetting, 185, PageNone, 0},
    {ItemTwoCylinders, 186, PageNone, 0},
    {ItemFourCylinders, 187, PageNone, 0},
    {ItemSixCylinders, 188, PageNone, 0},
    {ItemEgt1, 189, PageNone, 0},
    {ItemEgt2, 190, PageNone, 0},
    {ItemEgt3, 191, PageNone, 0},
    {ItemEgt4, 192, PageNone, 0},
    {ItemEgt5, 193, PageNone, 0},
    {ItemEgt6, 194, PageNone, 0},
    {ItemCht1, 195, PageNone, 0},
    {ItemCht2, 196, PageNone, 0},
    {ItemCht3, 197, PageNone, 0},
    {ItemCht4, 198, PageNone, 0},
    {ItemCht5, 199, PageNone, 0},
    {ItemCht6, 200, PageNone, 0},
    {ItemSensor4205_39, 201, PageNone, 0},
    {ItemSensor4205_24, 202, PageNone, 0},
    {ItemSensor4205_33, 203, PageNone, 0},
    {ItemSensor4205_21, 204, PageNone, 0},
    {ItemSensor4205_22, 205, PageNone, 0},
    {ItemSensor4205_23, 206, PageNone, 0},
    {ItemSensor4205_37, 207, PageNone, 0},
    {ItemSensor4205_38, 208, PageNone, 0},
    {ItemSensor4205_15, 209, PageNone, 0},
    {ItemSensor4205_07, 210, PageNone, 0},
    {ItemSensor4205_08, 211, PageNone, 0},
    {ItemSensor4205_05, 212, PageNone, 0},
    {ItemSensor4205_06, 213, PageNone, 0},
    {ItemSensor4205_16, 214, PageNone, 0},
    {ItemSensor4205_17, 215, PageNone, 0},
    {ItemSensor4205_04H2, 216, PageNone, 0},
    {ItemSensor4205_04H4, 217, PageNone, 0},
    {ItemSensor4205_04H8, 218, PageNone, 0},
    {ItemSensor4205_36, 219, PageNone, 0},
    {ItemSensor4205_03, 220, PageNone, 0},
    {ItemSensor4205_18, 221, PageNone, 0},
    {ItemSensor4205_40, 222, PageNone, 0},
    {ItemSensor4205_42, 223, PageNone, 0},
    {ItemSensor4205_45, 224, PageNone, 0},
    {ItemThermoTypeJ, 225, PageNone, 0},
    {ItemThermoTypeK, 226, PageNone, 0},
    {ItemThermocoupleNo1, 227, PageNone, 0},
    {ItemThermocoupleNo2, 254, PageNone, 0},
    {ItemThermocoupleNo3, 255, PageNone, 0},
    {ItemThermocoupleNo4, 256, PageNone, 0},
    {ItemThermocoupleNo5, 257, PageNone, 0},
    {ItemThermocoupleNo6, 258, PageNone, 0},
    {ItemThermocoupleNo7, 259, PageNone, 0},
    {ItemThermocoupleNo8, 260, PageNone, 0},
    {ItemThermocoupleNo9, 261, PageNone, 0},
    {ItemThermocoupleNo10, 262, PageNone, 0},
    {ItemThermocoupleNo11, 263, PageNone, 0},
    {ItemThermocoupleNo12, 264, PageNone, 0},
    {ItemThermoInput, 265, PageThermoInput, 0},
    {ItemSensorTypeK, 266, PageTypeKSensors, 0},
    {ItemSensorTypeJ, 267, PageTypeJSensors, 0},
    {ItemOtherSettingCalib, 268, PageNone, 0},
    {ItemFuelFlowSetting, 269, PageFuelFlowSetting, 0},
    {ItemFuelCalibration, 270, PageNone, 0},
    {ItemRpmSetting, 271, PageRpmSetting, 0},
    {ItemRotorRpmSetting, 272, PageRotorRpmSetting, 0},
    {ItemEngineTimeThreshold, 273, PageNone, 0},
    {ItemAircraftIdentification, 274, PageNone, 0},
    {ItemTime, 275, PageNone, 0},
    {ItemDate, 276, PageNone, 0},
    {ItemCalibTotalTank, 277, PageNone, 0},
    {ItemCalibLeftTank, 278, PageNone, 0},
    {ItemCalibRightTank, 279, PageNone, 0},
    {ItemUnusableFuel, 280, PageNone, 0},
    {ItemUnusableTotalTank, 281, PageNone, 0},
    {ItemUnusableLeftTank, 278, PageNone, 0},
    {ItemUnusableRightTank, 129, PageNone, 0},
    {ItemKFactor, 282, PageNone, 0},
    {ItemTimeOfAverageFlow, 283, PageNone, 0},
    {ItemRpmPulses, 284, PageNone, 0},
    {ItemRpmRatio, 285, PageNone, 0},
    {ItemRotorPulses, 284, PageNone, 0},
    {ItemRotorRatio, 285, PageNone, 0},
    {ItemFuelPressZero, 286, PageNone, 0},
    {ItemMapZero, 287, PageNone, 0},
    {ItemPitchSetting, 288, PageNone, 0},
    {ItemRollSetting, 289, PageNone, 0},
    {ItemBacklightControl, 290, PageBacklightControl, 0},
    {ItemDimmerManual, 291, PageNone, 0},
    {ItemDimmerExternal, 292, PageDimmerVoltage, 0},
    {ItemDimmerAuto, 293, PageNone, 0},
    {ItemDimmerSourceControl, 294, PageDimmerSource, 0},
    {ItemBacklightColor, 295, PageBacklightColour, 0},
    {ItemGreen, 296, PageNone, 0},
    {ItemRed, 297, PageNone, 0},
    {ItemOrange, 298, PageNone, 0},
    {ItemPowerOff, 299, PageNone, 0},
    {ItemTerrainOn, 300, PageNone, 1},
    {ItemTerrainOff, 301, PageNone, 1},
    {ItemHighwayOn, 302, PageNone, 1},
    {ItemHighwayOff, 303, PageNone, 1},
    {ItemTowingMenuOn, 304, PageNone, 1},
    {ItemTowingMenuOff, 305, PageNone, 1},
    {ItemEnterSetup, 306, PageNone, 0},
    {ItemMessage1, 307, PageNone, 0},
    {ItemMessage2, 308, PageNone, 0},
    {ItemMessage3, 309, PageNone, 0},
    {ItemMessage4, 310, PageNone, 0},
    {ItemMessage5, 311, PageNone, 0},
    {ItemMessage6, 312, PageNone, 0},
    {ItemMessage7, 313, PageNone, 0},
    {ItemMessage8, 314, PageNone, 0},
    {ItemMessage9, 315, PageNone, 0},
    {ItemMessage10, 316, PageNone, 0},
    {ItemStopPlaying, 317, PageNone, 0},
    {ItemAltOn, 318, PageNone, 0},
    {ItemAltOff, 319, PageNone, 0},
    {ItemIasOn, 320, PageNone, 0},
    {ItemIasOff, 321, PageNone, 0},
    {ItemHdgOn, 322, PageNone, 0},
    {ItemHdgOff, 323, PageNone, 0},
    {ItemAbout, 324, PageNone, 0},
    {ItemDemoMode, 325, PageNone, 0},
    {ItemDemoOn, 326, PageNone, 0},
    {ItemDemoOff, 327, PageNone, 0},
    {ItemDemoDeviceType, 328, PageDemoDeviceType, 0},
    {ItemDemoResetTime, 329, PageDemoResetTime, 0},
    {ItemLimitAirspeed, 330, PageNone, 0},
    {ItemLimitRpm, 331, PageNone, 0},
    {ItemSaveSetting, 332, PageNone, 0},
    {ItemDemoEms, 333, PageNone, 0},
    {ItemDemoEfis, 334, PageNone, 0},
    {ItemDemoEfisEms, 335, PageNone, 0},
    {ItemDemoRemote, 336, PageNone, 0},
    {ItemReset30s, 337, PageNone, 0},
    {ItemReset1min, 338, PageNone, 0},
    {ItemReset2min, 339, PageNone, 0},
    {ItemReset3min, 340, PageNone, 0},
    {ItemReset4min, 341, PageNone, 0},
    {ItemReset5min, 342, PageNone, 0},
    {ItemReset10min, 343, PageNone, 0},
    {ItemChangePassword, 344, PageNone, 0},
    {ItemWaterChtTemperatureLabel, 345, PageWaterChtLabel, 0},
    {ItemWaterLabel, 346, PageNone, 0},
    {ItemChtLabel, 133, PageNone, 0},
    {ItemCompassSettings, 347, PageCompassSettings, 0},
    {ItemCompassCalibration, 348, PageNone, 0},
    {ItemDeclination, 349, PageNone, 0},
    {ItemInclination, 350, PageNone, 0},
    {ItemTotalMagField, 351, PageNone, 0},
    {ItemBuildIn, 352, PageNone, 0},
    {ItemMountXFrontYLeft, 353, PageNone, 0},
    {ItemMountXFrontYDown, 354, PageNone, 0},
    {ItemMountXUpYRight, 355, PageNone, 0},
    {ItemLanguage, 356, PageLanguage, 0},
    {ItemEnglish, 357, PageNone, 0},
    {ItemCzech, 358, PageNone, 0},
    {ItemFrench, 359, PageNone, 0},
    {ItemGerman, 360, PageNone, 0},
    {ItemItalian, 361, PageNone, 0},
    {ItemRussian, 362, PageNone, 0},
    {ItemSpanish, 363, PageNone, 0},
    {ItemAsUser, 364, PageNone, 0},
    {ItemAsAdministrator, 365, PageNone, 0},
    {ItemAsInstaller, 366, PageNone, 0},
    {ItemAutopilotSetup, 367, PageNone, 0},
    {ItemServoSetup, 368, PageNone, 0},
    {ItemServoDeflectionCalibration, 369, PageNone, 0},
    {ItemExternalButton, 370, PageExternalButton, 0},
    {ItemPitchAxisSetup, 371, PageNone, 0},
    {ItemRollAxisSetup, 372, PageNone, 0},
    {ItemServoRoll, 373, PageRollServo, 0},
    {ItemServoPitch, 374, PagePitchServo, 0},
    {ItemServoYaw, 375, PageYawServo, 0},
    {ItemDetection, 376, PageNone, 0},
    {ItemServoInstalledYes, 377, PageNone, 0},
    {ItemServoInstalledNo, 378, PageNone, 0},
    {ItemSlip, 379, PageNone, 0},
    {ItemDeflectionCalibration, 380, PageNone, 0},
    {ItemDeflectionTest, 381, PageNone, 0},
    {ItemApActivationDeactOnly, 382, PageNone, 0},
    {ItemApActivationPrevious, 383, PageNone, 0},
    {ItemApActivationStabilised, 384, PageNone, 0},
    {ItemHoldOnEnable, 385, PageNone, 0},
    {ItemHoldOnDisable, 386, PageNone, 0},
    {ItemRollSensitivity, 387, PageNone, 0},
    {ItemModeTurnRate, 388, PageNone, 0},
    {ItemModeBankAngle, 389, PageNone, 0},
    {ItemMaxBankAngle, 390, PageNone, 0},
    {ItemTurnRateTarget, 391, PageNone, 0},
    {ItemPitchSensitivity, 387, PageNone, 0},
    {ItemModeVerticalSpeed, 392, PageNone, 1},
    {ItemModeLongitudinalAngle, 393, PageNone, 0},
    {ItemMaxLongitudinalAngle, 394, PageNone, 0},
    {ItemMaxClimbSpeed, 395, PageNone, 1},
    {ItemMaxDescentSpeed, 396, PageNone, 1},
    {ItemMinAirSpeed, 397, PageNone, 0},
    {ItemMaxAirSpeed, 398, PageNone, 0},
    {ItemCommPanel, 36, PageCommPanel, 0},
    {ItemXpdrPanel, 37, PageXpdrPanel, 0},
    {ItemFreqSwap, 399, PageNone, 0},
    {ItemMemoryRecall, 400, PageNone, 0},
    {ItemVolume, 401, PageNone, 0},
    {ItemSquelchOnOff, 402, PageNone, 0},
    {ItemIdent, 403, PageNone, 0},
    {ItemXpdrModeMenu, 404, PageXpdrMode, 0},
    {ItemEmergencySquawk, 405, PageEmergencySquawk, 0},
    {ItemXpdrOn, 406, PageNone, 0},
    {ItemXpdrAlt, 407, PageNone, 0},
    {ItemXpdrSby, 408, PageNone, 0},
    {ItemSquawk7500, 409, PageNone, 0},
    {ItemSquawk7600, 410, PageNone, 0},
    {ItemSquawk7700, 411, PageNone, 0},
    {ItemSquawk7777, 412, PageNone, 0},
    {ItemSquelchThreshold, 413, PageNone, 0},
    {ItemMemoryFields, 414, PageNone, 0},
    {ItemFrequencyStep, 415, PageFrequencyStep, 0},
    {ItemStep833, 416, PageNone, 0},
    {ItemStep25, 417, PageNone, 0},
    {ItemMemoryField1, 418, PageNone, 0},
    {ItemMemoryField2, 419, PageNone, 0},
    {ItemMemoryField3, 420, PageNone, 0},
    {ItemMemoryField4, 421, PageNone, 0},
    {ItemMemoryField5, 422, PageNone, 0},
    {ItemMemoryField6, 423, PageNone, 0},
    {ItemMemoryField7, 424, PageNone, 0},
    {ItemMemoryField8, 425, PageNone, 0},
    {ItemMemoryField9, 426, PageNone, 0},
    {ItemMemoryField10, 427, PageNone, 0},
    {ItemMemoryFrequence, 428, PageNone, 0},
    {ItemMemoryLabel, 429, PageNone, 0},
    {ItemMemory1, 418, PageNone, 0},
    {ItemMemory2, 419, PageNone, 0},
    {ItemMemory3, 420, PageNone, 0},
    {ItemMemory4, 421, PageNone, 0},
    {ItemMemory5, 422, PageNone, 0},
    {ItemMemory6, 423, PageNone, 0},
    {ItemMemory7, 424, PageNone, 0},
    {ItemMemory8, 425, PageNone, 0},
    {ItemMemory9, 426, PageNone, 0},
    {ItemMemory10, 427, PageNone, 0},
    {ItemEngineEcu, 430, PageEngineEcu, 1},
    {ItemCanA, 431, PageNone, 1},
    {ItemCanB, 432, PageNone, 1},
    {ItemVfr1200, 433, PageNone, 0},
    {ItemVfr7000, 434, PageNone, 0},
    {ItemEngineValues, 435, PageNone, 1},
    {ItemDiagnostics, 436, PageEcuDiagnostics, 1},
    {ItemEngineStatusSummary, 437, PageNone, 1},
    {ItemSensorStatusDetail, 438, PageNone, 1},
    {ItemDeviceStatusDetail, 439, PageNone, 1},
    {ItemQuantityAverage, 440, PageNone, 0},
    {-1, 0, PageNone, 0},
};

namespace {

// The item list of each page: the page, its items, End.
constexpr int16_t End = -1;
constexpr int16_t PageLists[] = {
    PageFlightMain, ItemBrightness, ItemChecklist, ItemStatistic, ItemEntertainment, ItemOtherSettingFlight,
        ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageFlightMainCommXpdr, ItemCommPanel, ItemXpdrPanel, ItemBrightness, ItemChecklist, ItemStatistic,
        ItemEntertainment, ItemOtherSettingFlight, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageFlightMainComm, ItemCommPanel, ItemBrightness, ItemChecklist, ItemStatistic, ItemEntertainment,
        ItemOtherSettingFlight, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageFlightMainXpdr, ItemXpdrPanel, ItemBrightness, ItemChecklist, ItemStatistic, ItemEntertainment,
        ItemOtherSettingFlight, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageFlightMainObs, ItemObsSetting, ItemBrightness, ItemChecklist, ItemStatistic, ItemEntertainment,
        ItemOtherSettingFlight, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageFlightMainCommXpdrObs, ItemCommPanel, ItemXpdrPanel, ItemObsSetting, ItemBrightness, ItemChecklist,
        ItemStatistic, ItemEntertainment, ItemOtherSettingFlight, ItemEnterSetup, ItemPowerOff, ItemAbout,
        ItemExitMenu, End,
    PageFlightMainCommObs, ItemCommPanel, ItemObsSetting, ItemBrightness, ItemChecklist, ItemStatistic,
        ItemEntertainment, ItemOtherSettingFlight, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageFlightMainXpdrObs, ItemXpdrPanel, ItemObsSetting, ItemBrightness, ItemChecklist, ItemStatistic,
        ItemEntertainment, ItemOtherSettingFlight, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageHeadingBugs, ItemHeadingSet, ItemBoreSight, ItemNavSource, ItemAltBug, ItemIasBug, ItemExitMenu, End,
    PageEngineMain, ItemBrightness, ItemChecklist, ItemStatistic, ItemEntertainment, ItemOtherSettingEngine,
        ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageEngineMainCommXpdr, ItemCommPanel, ItemXpdrPanel, ItemBrightness, ItemChecklist, ItemStatistic,
        ItemEntertainment, ItemOtherSettingEngine, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageEngineMainComm, ItemCommPanel, ItemBrightness, ItemChecklist, ItemStatistic, ItemEntertainment,
        ItemOtherSettingEngine, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageEngineMainXpdr, ItemXpdrPanel, ItemBrightness, ItemChecklist, ItemStatistic, ItemEntertainment,
        ItemOtherSettingEngine, ItemEnterSetup, ItemPowerOff, ItemAbout, ItemExitMenu, End,
    PageChecklistsBack, ItemBack, ItemPreflightCheck, ItemBeforeStartEngine, ItemStartingEngine, ItemEngineRunup,
        ItemBeforeTakeOff, ItemLanding, ItemAfterLanding, ItemShutDown, End,
    PageChecklists, ItemPreflightCheck, ItemBeforeStartEngine, ItemStartingEngine, ItemEngineRunup,
        ItemBeforeTakeOff, ItemLanding, ItemAfterLanding, ItemShutDown, End,
    PageSetupUserFlight, ItemUnitsFlight, ItemOtherSettingCalib, ItemChangePassword, ItemLanguage, ItemExitMenu,
        End,
    PageSetupUserEngine, ItemUnitsEngine, ItemOtherSettingCalib, ItemChangePassword, ItemLanguage, ItemExitMenu,
        End,
    // The installer's setup menus offer "Change Password" too, so that a password can be set.
    PageSetupInstallerFlight, ItemUnitsFlight, ItemSensorsFlight, ItemRangeLimitsFlight, ItemOtherSettingCalib,
        ItemChangePassword, ItemExternalDevices, ItemEfisDataSharing, ItemAutopilotSetup, ItemLanguage,
        ItemDemoMode, ItemExitMenu, End,
    PageSetupInstallerEngine, ItemUnitsEngine, ItemSensorsEngine, ItemRangeLimitsEngine, ItemOtherSettingCalib,
        ItemChangePassword, ItemExternalDevices, ItemEmsDataSharing, ItemLanguage, ItemDemoMode, ItemExitMenu,
        End,
    // The data port pages offer the configuration and flight data files too.
    PageDataPortUser, ItemImportConfiguration, ItemExportConfiguration, ItemExportFlightData,
        ItemExportServiceLog, ItemExitMenu, End,
    PageDataPortInstaller, ItemImportChecklist, ItemImportConfiguration, ItemExportConfiguration,
        ItemExportFlightData, ItemExportServiceLog, ItemUpdateFirmware, ItemExitMenu, End,
    PageDataSharing, ItemBack, ItemSharingOff, ItemSharingLow, ItemSharingHigh, End,
    PageCustomFlightUnits, ItemBack, ItemCustomAirspeed, ItemAltitude, ItemBaroPressure, ItemDistance, ItemVsi,
        End,
    PageFlightRangeLimits, ItemBack, ItemAirspeedLimits, End,
    PageFlightUnitSystem, ItemBack, ItemMetric, ItemImperialUk, ItemImperialUs, ItemCustomFlight, End,
    PageAirspeedUnit, ItemBack, ItemKmh, ItemKts, ItemMph, End,
    PageAltitudeUnit, ItemBack, ItemFeet, ItemMetre, End,
    PageTemperatureUnit, ItemBack, ItemCelsius, ItemFahrenheit, End,
    PageQuantityUnit, ItemBack, ItemLitre, ItemGallonsUs, ItemGallonsUk, End,
    PageBaroUnit, ItemBack, ItemBaroInHg, ItemBaroMbar, ItemBaroTorr, End,
    PageVerticalSpeedUnit, ItemBack, ItemFtMin, ItemVsKts, ItemMetresPerSecond, End,
    PagePressureUnit, ItemBack, ItemBar, ItemPsi, ItemKgCm2, End,
    PageDistanceUnit, ItemBack, ItemKilometers, ItemNauticalMiles, ItemStatuteMiles, End,
    PageEngineUnitSystem, ItemBack, ItemMetric, ItemImperialUk, ItemImperialUs, ItemCustomEngine, End,
    PageCustomEngineUnits, ItemBack, ItemManPressure, ItemTemperature, ItemPressure, ItemQuantity, End,
    PageManifoldUnit, ItemBack, ItemManInHg, ItemManMbar, ItemManTorr, End,
    PageAirspeedLimits, ItemBack, ItemVne, ItemVno, ItemVfe, ItemVs, End,
    PageCommSettings, ItemBack, ItemNotConnected, ItemCom1, ItemCom2, ItemMemoryFields, ItemFrequencyStep,
        ItemSquelchThreshold, End,
    PageFrequencyStep, ItemBack, ItemStep833, ItemStep25, End,
    PageXpdrSettings, ItemBack, ItemNotConnected, ItemCom1, ItemCom2, ItemVfr1200, ItemVfr7000, End,
    PageMemoryFields, ItemBack, ItemMemoryField1, ItemMemoryField2, ItemMemoryField3, ItemMemoryField4,
        ItemMemoryField5, ItemMemoryField6, ItemMemoryField7, ItemMemoryField8, ItemMemoryField9,
        ItemMemoryField10, End,
    PageMemoryField, ItemBack, ItemMemoryFrequence, ItemMemoryLabel, End,
    PageGpsPort, ItemBack, ItemNotConnected, ItemCom1, ItemCom2, ItemBaud115200, ItemBaud57600, ItemBaud38400,
        ItemBaud19200, ItemBaud9600, ItemBaud4800, ItemProtocolNmea, ItemProtocolArnav, End,
    PageSl30Port, ItemBack, ItemNotConnected, ItemCom1, ItemCom2, End,
    PageServicePort, ItemBack, ItemNotConnected, ItemCom1, ItemCom2, End,
    PageCoGuardianPort, ItemBack, ItemNotConnected, ItemCom1, ItemCom2, End,
    PageEncoderPort, ItemBack, ItemNotConnected, ItemCom1, ItemCom2, ItemBaud115200, ItemBaud57600,
        ItemBaud38400, ItemBaud19200, ItemBaud9600, ItemBaud4800, ItemProtocolIcarus, End,
    PageDevicesFlight, ItemBack, ItemCommDevice, ItemXpdrDevice, ItemGpsDevice, ItemSl30NavCom,
        ItemRemoteCompass, ItemAltitudeEncoder, ItemCoGuardian, End,
    PageOtherFlight, ItemBack, ItemAircraftIdentification, ItemTime, ItemDate, ItemPitchSetting, ItemRollSetting,
        ItemBacklightControl, ItemAuxInputOutput, ItemMainSwitchControl, End,
    PageOtherBacklightFlight, ItemBack, ItemBacklightControl, End,
    PageRemoteCompass, ItemBack, ItemNotConnected, ItemConnected, ItemCompassSettings, ItemCompassCalibration,
        End,
    PageCompassSettings, ItemBack, ItemDeclination, ItemInclination, ItemTotalMagField, ItemBuildIn, End,
    PageCompassMounting, ItemBack, ItemMountXFrontYLeft, ItemMountXFrontYDown, ItemMountXUpYRight, End,
    PageDevicesEngine, ItemBack, ItemCommDevice, ItemXpdrDevice, ItemCoGuardian, ItemGpsDevice, ItemEngineEcu,
        End,
    PageCommType, ItemBack, ItemCommType, End,
    PageXpdrType, ItemBack, ItemXpdrType, End,
    PageCommModels, ItemBack, ItemCommModel, End,
    PageXpdrModels, ItemBack, ItemXpdrModel, End,
    PageCommPanel, ItemBack, ItemFreqSwap, ItemMemoryRecall, ItemVolume, ItemSquelchOnOff, End,
    PageXpdrPanel, ItemBack, ItemIdent, ItemXpdrModeMenu, ItemEmergencySquawk, End,
    PageXpdrMode, ItemBack, ItemXpdrOn, ItemXpdrAlt, ItemXpdrSby, End,
    PageEmergencySquawk, ItemBack, ItemSquawk7500, ItemSquawk7600, ItemSquawk7700, ItemSquawk7777, End,
    PageEngineRangeLimits, ItemBack, ItemLimitsRpm, ItemLimitsMap, ItemLimitsRotorRpm, ItemLimitsOilPressure,
        ItemLimitsOilTemperature, ItemLimitsWaterCht, ItemLimitsWaterAux, ItemLimitsLeftTank,
        ItemLimitsRightTank, ItemLimitsFuelPressure, ItemLimitsFuelFlow, ItemLimitsEgt, ItemLimitsCht,
        ItemLimitsVoltage1, ItemLimitsCurrent1, ItemLimitsVoltage2, ItemLimitsCurrent2, ItemLimitsVoltage3,
        ItemLimitsCurrent3, End,
    PageRpmLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitNormal, End,
    PageEgtLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, End,
    PageChtLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, End,
    PageLeftTankLimits, ItemBack, ItemLimitRange, ItemLimitAlarmMin, End,
    PageRightTankLimits, ItemBack, ItemLimitRange, ItemLimitAlarmMin, End,
    PageFuelFlowLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, End,
    PageFuelPressureLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitWarningMin,
        ItemLimitAlarmMin, End,
    PageRotorRpmLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitWarningMin,
        ItemLimitAlarmMin, End,
    PageManifoldLimits, ItemBack, ItemLimitRange, ItemLimitWarning, ItemLimitWarningMin, End,
    PageWaterChtLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitNormal, End,
    PageWaterAuxLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitNormal, End,
    PageOilTemperatureLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitNormal,
        ItemLimitWarningMin, ItemLimitAlarmMin, End,
    PageOilPressureLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitNormal,
        ItemLimitWarningMin, ItemLimitAlarmMin, End,
    PageVoltageLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitWarningMin,
        ItemLimitAlarmMin, End,
    PageCurrentLimits, ItemBack, ItemLimitRange, ItemLimitAlarm, ItemLimitWarning, ItemLimitWarningMin,
        ItemLimitAlarmMin, End,
    PageSensorsEngine, ItemBack, ItemSensorRpm, ItemSensorMap, ItemSensorRotorRpm, ItemSensorOilPressure,
        ItemSensorOilTemperature, ItemSensorWaterCht, ItemSensorWaterAux, ItemSensorLeftTank,
        ItemSensorRightTank, ItemSensorFuelPressure, ItemSensorFuelFlow, ItemEgtChtNumber, ItemEgtChtSetting,
        ItemSensorIat, ItemSensorOat, ItemVoltageInputs, ItemCurrentInputs, End,
    PageSensorsFlight, ItemBack, ItemSensorIat, ItemSensorOat, ItemSensorAuxt, End,
    PageRpmInput, ItemBack, ItemNotConnected, ItemConnected, End,
    PageManifoldSensor, ItemBack, ItemNotConnected, ItemSensor4205_33, End,
    PageRotorRpmInput, ItemBack, ItemNotConnected, ItemConnected, End,
    PageOilPressureSensor, ItemBack, ItemNotConnected, ItemSensor4205_15, ItemSensor4205_07, ItemSensor4205_08,
        ItemSensor4205_40, End,
    PageOilTemperatureSensor, ItemBack, ItemNotConnected, ItemSensor4205_05, ItemSensor4205_06,
        ItemSensor4205_16, ItemSensor4205_17, End,
    PageWaterChtSensor, ItemBack, ItemNotConnected, ItemSensor4205_05, ItemSensor4205_06, ItemSensor4205_16,
        ItemSensor4205_17, End,
    PageWaterAuxSensor, ItemBack, ItemNotConnected, ItemSensor4205_05, ItemSensor4205_06, ItemSensor4205_16,
        ItemSensor4205_17, ItemSensor4205_39, ItemSensor4205_42, End,
    PageLeftTankSensor, ItemBack, ItemNotConnected, ItemSensor4205_21, ItemSensor4205_22, ItemSensor4205_23, End,
    PageRightTankSensor, ItemBack, ItemNotConnected, ItemSensor4205_21, ItemSensor4205_22, ItemSensor4205_23,
        End,
    PageFuelPressureSensor, ItemBack, ItemNotConnected, ItemSensor4205_37, ItemSensor4205_38, ItemSensor4205_08,
        ItemSensor4205_40, ItemSensor4205_45, End,
    PageFuelFlowInput, ItemBack, ItemNotConnected, ItemConnected, End,
    PageIatSensor, ItemBack, ItemNotConnected, ItemSensor4205_39, ItemSensor4205_05, ItemSensor4205_06,
        ItemSensor4205_16, ItemSensor4205_17, ItemSensor4205_42, End,
    PageOatSensor, ItemBack, ItemNotConnected, ItemSensor4205_39, ItemSensor4205_05, ItemSensor4205_06,
        ItemSensor4205_16, ItemSensor4205_17, ItemSensor4205_42, End,
    PageAuxInputOutput, ItemBack, ItemCanopy, ItemGearUp, ItemGearDown, End,
    PageCanopyInput, ItemBack, ItemNotConnected, ItemInputHigh, ItemInputLow, End,
    PageGearUpInput, ItemBack, ItemNotConnected, ItemInputHigh, ItemInputLow, End,
    PageGearDownInput, ItemBack, ItemNotConnected, ItemInputHigh, ItemInputLow, End,
    PageExternalSignal, ItemBack, ItemYes, ItemNo, End,
    PageVoltageInputs, ItemBack, ItemVoltage1Yes, ItemVoltage1No, ItemVoltage1Label, ItemVoltage2Yes,
        ItemVoltage2No, ItemVoltage2Label, ItemVoltage3Yes, ItemVoltage3No, ItemVoltage3Label, End,
    PageCurrentInputs, ItemBack, ItemCurrent1Yes, ItemCurrent1No, ItemCurrent1Label, ItemCurrent2Yes,
        ItemCurrent2No, ItemCurrent2Label, ItemCurrent3Yes, ItemCurrent3No, ItemCurrent3Label, End,
    PageCylinderCount, ItemBack, ItemTwoCylinders, ItemFourCylinders, ItemSixCylinders, End,
    PageThermoSlotsSix, ItemBack, ItemEgt1, ItemEgt2, ItemEgt3, ItemEgt4, ItemEgt5, ItemEgt6, ItemCht1, ItemCht2,
        ItemCht3, ItemCht4, ItemCht5, ItemCht6, End,
    PageThermoSlotsFour, ItemBack, ItemEgt1, ItemEgt2, ItemEgt3, ItemEgt4, ItemCht1, ItemCht2, ItemCht3,
        ItemCht4, End,
    PageThermoSlotsTwo, ItemBack, ItemEgt1, ItemEgt2, ItemCht1, ItemCht2, End,
    PageThermoChannelJ, ItemBack, ItemNotConnected, ItemThermoInput, ItemSensorTypeJ, End,
    PageThermoChannelK, ItemBack, ItemNotConnected, ItemThermoInput, ItemSensorTypeK, End,
    PageThermoInput, ItemBack, ItemThermocoupleNo1, ItemThermocoupleNo2, ItemThermocoupleNo3,
        ItemThermocoupleNo4, ItemThermocoupleNo5, ItemThermocoupleNo6, ItemThermocoupleNo7, ItemThermocoupleNo8,
        ItemThermocoupleNo9, ItemThermocoupleNo10, ItemThermocoupleNo11, ItemThermocoupleNo12, End,
    PageTypeKSensors, ItemBack, ItemSensor4205_03, ItemSensor4205_18, ItemThermoTypeJ, End,
    PageTypeJSensors, ItemBack, ItemSensor4205_04H2, ItemSensor4205_04H4, ItemSensor4205_04H8, ItemSensor4205_36,
        ItemThermoTypeK, End,
    PageOtherEngine, ItemBack, ItemAircraftIdentification, ItemTime, ItemDate, ItemBacklightControl,
        ItemAuxInputOutput, ItemFuelFlowSetting, ItemFuelPressZero, ItemFuelCalibration, ItemUnusableFuel,
        ItemQuantityAverage, ItemRpmSetting, ItemRotorRpmSetting, ItemEngineTimeThreshold,
        ItemWaterChtTemperatureLabel, ItemMainSwitchControl, End,
    PageOtherEngineNoFuelCalib, ItemBack, ItemAircraftIdentification, ItemTime, ItemDate, ItemBacklightControl,
        ItemAuxInputOutput, ItemFuelFlowSetting, ItemFuelPressZero, ItemRpmSetting, ItemRotorRpmSetting,
        ItemEngineTimeThreshold, ItemWaterChtTemperatureLabel, ItemMainSwitchControl, End,
    PageOtherBacklightEngine, ItemBack, ItemBacklightControl, End,
    PageCalibTankChoice, ItemBack, ItemCalibLeftTank, ItemCalibRightTank, End,
    PageUnusableTankChoice, ItemBack, ItemUnusableLeftTank, ItemUnusableRightTank, End,
    PageCalibTotalTank, ItemBack, ItemCalibTotalTank, End,
    PageUnusableTotalTank, ItemBack, ItemUnusableTotalTank, End,
    PageFuelFlowSetting, ItemBack, ItemKFactor, ItemTimeOfAverageFlow, End,
    PageRpmSetting, ItemBack, ItemRpmPulses, ItemRpmRatio, End,
    PageRotorRpmSetting, ItemBack, ItemRotorPulses, End,
    PageDimmerVoltage, ItemBack, ItemMax5V, ItemMax12V, ItemMax24V, End,
    PageDimmerSource, ItemBack, ItemDimmerManual, ItemDimmerExternal, ItemDimmerAuto, End,
    PageBacklightColour, ItemBack, ItemGreen, ItemRed, ItemOrange, End,
    PageOtherFlightScreens, ItemBack, ItemTerrainOn, ItemTerrainOff, ItemHighwayOn, ItemHighwayOff,
        ItemTowingMenuOn, ItemTowingMenuOff, End,
    PageOtherEngineScreens, ItemBack, ItemEngineValues, ItemTowingMenuOn, ItemTowingMenuOff, End,
    PageNavSource, ItemBack, ItemNavOff, ItemNavVorLoc, ItemNavGps, End,
    PageVoiceMessages, ItemMessage1, ItemMessage2, ItemMessage3, ItemMessage4, ItemMessage5, ItemMessage6,
        ItemMessage7, ItemMessage8, ItemMessage9, ItemMessage10, ItemStopPlaying, End,
    PageAutopilotHolds, ItemBack, ItemAltOn, ItemAltOff, ItemIasOn, ItemIasOff, ItemHdgOn, ItemHdgOff, End,
    PageStatistic, ItemBack, ItemTankQuantity, ItemVoltAndCurrent, End,
    PageBacklightControl, ItemBack, ItemDimmerSourceControl, ItemBacklightColor, End,
    PageWaterChtLabel, ItemBack, ItemWaterLabel, ItemChtLabel, End,
    PageMainSwitch, ItemBack, ItemNotConnected, ItemConnected, End,
    PageDemoMode, ItemBack, ItemDemoOn, ItemDemoOff, ItemDemoDeviceType, ItemDemoResetTime, ItemSaveSetting, End,
    PageDemoDeviceType, ItemBack, ItemDemoEms, ItemDemoEfis, ItemDemoEfisEms, ItemDemoRemote, End,
    PageDemoResetTime, ItemBack, ItemReset30s, ItemReset1min, ItemReset2min, ItemReset3min, ItemReset4min,
        ItemReset5min, ItemReset10min, End,
    PageLanguage, ItemBack, ItemEnglish, ItemCzech, ItemGerman, ItemItalian, ItemFrench, ItemRussian, End,
    PageRoleChoice, ItemAsUser, ItemAsAdministrator, ItemAsInstaller, End,
    PageAutopilotSetup, ItemBack, ItemServoSetup, ItemServoDeflectionCalibration, ItemExternalButton,
        ItemRollAxisSetup, ItemPitchAxisSetup, End,
    PageServoSetup, ItemBack, ItemServoRoll, ItemServoPitch, ItemDetection, End,
    PageRollServo, ItemBack, ItemServoInstalledYes, ItemServoInstalledNo, ItemSlip, End,
    PagePitchServo, ItemBack, ItemServoInstalledYes, ItemServoInstalledNo, ItemSlip, End,
    PageYawServo, ItemBack, ItemServoInstalledYes, ItemServoInstalledNo, ItemSlip, End,
    PageServoDeflection, ItemBack, ItemDeflectionCalibration, ItemDeflectionTest, End,
    PageExternalButton, ItemBack, ItemApActivationDeactOnly, ItemApActivationPrevious,
        ItemApActivationStabilised, ItemHoldOnEnable, ItemHoldOnDisable, End,
    PageRollAxis, ItemBack, ItemRollSensitivity, ItemModeTurnRate, ItemModeBankAngle, ItemMaxBankAngle,
        ItemTurnRateTarget, End,
    PagePitchAxis, ItemBack, ItemPitchSensitivity, ItemModeVerticalSpeed, ItemModeLongitudinalAngle,
        ItemMaxLongitudinalAngle, ItemMaxClimbSpeed, ItemMaxDescentSpeed, ItemMinAirSpeed, ItemMaxAirSpeed, End,
    PageRadioMemories, ItemBack, ItemMemory1, ItemMemory2, ItemMemory3, ItemMemory4, ItemMemory5, ItemMemory6,
        ItemMemory7, ItemMemory8, ItemMemory9, ItemMemory10, End,
    PageEngineEcu, ItemBack, ItemNotConnected, ItemCanA, ItemCanB, ItemDiagnostics, End,
    PageEcuDiagnostics, ItemBack, ItemEngineStatusSummary, ItemSensorStatusDetail, ItemDeviceStatusDetail, End,
};

constexpr int ListCount() {
    int n = 0;
    for (int16_t v : PageLists) n += v == End;
    return n;
}
constexpr int PoolSize = static_cast<int>(std::size(PageLists)) - ListCount();

// The pool without the page marks, and where each page's list starts in it.
struct TListPool {
    int16_t items[PoolSize];
    int32_t offset[MaxPageId + 1];
};
constexpr TListPool BuildPool() {
    TListPool p{};
    for (int32_t& o : p.offset) o = -1;
    int out = 0;
    bool head = true;
    for (int16_t v : PageLists) {
        if (head) {
            if (v <= 0 || v > MaxPageId || p.offset[v] != -1) throw "a page mark out of range or listed twice";
            p.offset[v] = out;
            head = false;
            continue;
        }
        p.items[out++] = v;
        head = v == End;
    }
    if (!head) throw "the last list lacks its End";
    return p;
}
constexpr TListPool ListPool = BuildPool();

constexpr int32_t ListOf(int page) {
    if (ListPool.offset[page] < 0) throw "a page without a list";
    return ListPool.offset[page];
}

}  // namespace

const int16_t* const MenuItemPool = ListPool.items;
const int MenuItemPoolSize = PoolSize;

constexpr TMenuPage MenuPages[MenuPageCount + 1] = {
    {PageFlightMain, ListOf(PageFlightMain), nullptr, nullptr, nullptr},
    {PageFlightMainCommXpdr, ListOf(PageFlightMainCommXpdr), nullptr, nullptr, nullptr},
    {PageFlightMainComm, ListOf(PageFlightMainComm), nullptr, nullptr, nullptr},
    {PageFlightMainXpdr, ListOf(PageFlightMainXpdr), nullptr, nullptr, nullptr},
    {PageFlightMainObs, ListOf(PageFlightMainObs), nullptr, nullptr, nullptr},
    {PageFlightMainCommXpdrObs, ListOf(PageFlightMainCommXpdrObs), nullptr, nullptr, nullptr},
    {PageFlightMainCommObs, ListOf(PageFlightMainCommObs), nullptr, nullptr, nullptr},
    {PageFlightMainXpdrObs, ListOf(PageFlightMainXpdrObs), nullptr, nullptr, nullptr},
    {PageHeadingBugs, ListOf(PageHeadingBugs), nullptr, nullptr, nullptr},
    {PageEngineMain, ListOf(PageEngineMain), nullptr, nullptr, nullptr},
    {PageEngineMainCommXpdr, ListOf(PageEngineMainCommXpdr), nullptr, nullptr, nullptr},
    {PageEngineMainComm, ListOf(PageEngineMainComm), nullptr, nullptr, nullptr},
    {PageEngineMainXpdr, ListOf(PageEngineMainXpdr), nullptr, nullptr, nullptr},
    {PageChecklistsBack, ListOf(PageChecklistsBack), nullptr, nullptr, nullptr},
    {PageChecklists, ListOf(PageChecklists), nullptr, nullptr, nullptr},
    {PageSetupUserFlight, ListOf(PageSetupUserFlight), nullptr, nullptr, nullptr},
    {PageSetupUserEngine, ListOf(PageSetupUserEngine), nullptr, nullptr, nullptr},
    {PageSetupInstallerFlight, ListOf(PageSetupInstallerFlight), nullptr, nullptr, nullptr},
    {PageSetupInstallerEngine, ListOf(PageSetupInstallerEngine), nullptr, nullptr, nullptr},
    {PageDataPortUser, ListOf(PageDataPortUser), nullptr, nullptr, nullptr},
    {PageDataPortInstaller, ListOf(PageDataPortInstaller), nullptr, nullptr, nullptr},
    {PageDataSharing, ListOf(PageDataSharing), nullptr, nullptr, nullptr},
    {PageCustomFlightUnits, ListOf(PageCustomFlightUnits), nullptr, nullptr, nullptr},
    {PageFlightRangeLimits, ListOf(PageFlightRangeLimits), nullptr, nullptr, nullptr},
    {PageFlightUnitSystem, ListOf(PageFlightUnitSystem), nullptr, nullptr, nullptr},
    {PageAirspeedUnit, ListOf(PageAirspeedUnit), nullptr, nullptr, nullptr},
    {PageAltitudeUnit, ListOf(PageAltitudeUnit), nullptr, nullptr, nullptr},
    {PageTemperatureUnit, ListOf(PageTemperatureUnit), nullptr, nullptr, nullptr},
    {PageQuantityUnit, ListOf(PageQuantityUnit), nullptr, nullptr, nullptr},
    {PageBaroUnit, ListOf(PageBaroUnit), nullptr, nullptr, nullptr},
    {PageVerticalSpeedUnit, ListOf(PageVerticalSpeedUnit), nullptr, nullptr, nullptr},
    {PagePressureUnit, ListOf(PagePressureUnit), nullptr, nullptr, nullptr},
    {PageDistanceUnit, ListOf(PageDistanceUnit), nullptr, nullptr, nullptr},
    {PageEngineUnitSystem, ListOf(PageEngineUnitSystem), nullptr, nullptr, nullptr},
    {PageCustomEngineUnits, ListOf(PageCustomEngineUnits), nullptr, nullptr, nullptr},
    {PageManifoldUnit, ListOf(PageManifoldUnit), nullptr, nullptr, nullptr},
    {PageAirspeedLimits, ListOf(PageAirspeedLimits), nullptr, nullptr, nullptr},
    {PageCommSettings, ListOf(PageCommSettings), nullptr, nullptr, nullptr},
    {PageFrequencyStep, ListOf(PageFrequencyStep), nullptr, nullptr, nullptr},
    {PageXpdrSettings, ListOf(PageXpdrSettings), nullptr, nullptr, nullptr},
    {PageMemoryFields, ListOf(PageMemoryFields), nullptr, nullptr, nullptr},
    {PageMemoryField, ListOf(PageMemoryField), nullptr, nullptr, nullptr},
    {PageGpsPort, ListOf(PageGpsPort), nullptr, nullptr, nullptr},
    {PageSl30Port, ListOf(PageSl30Port), nullptr, nullptr, nullptr},
    {PageServicePort, ListOf(PageServicePort), nullptr, nullptr, nullptr},
    {PageCoGuardianPort, ListOf(PageCoGuardianPort), nullptr, nullptr, nullptr},
    {PageEncoderPort, ListOf(PageEncoderPort), nullptr, nullptr, nullptr},
    {PageDevicesFlight, ListOf(PageDevicesFlight), nullptr, nullptr, nullptr},
    {PageOtherFlight, ListOf(PageOtherFlight), nullptr, nullptr, nullptr},
    {PageOtherBacklightFlight, ListOf(PageOtherBacklightFlight), nullptr, nullptr, nullptr},
    {PageRemoteCompass, ListOf(PageRemoteCompass), nullptr, nullptr, nullptr},
    {PageCompassSettings, ListOf(PageCompassSettings), nullptr, nullptr, nullptr},
    {PageCompassMounting, ListOf(PageCompassMounting), nullptr, nullptr, nullptr},
    {PageDevicesEngine, ListOf(PageDevicesEngine), nullptr, nullptr, nullptr},
    {PageCommType, ListOf(PageCommType), nullptr, nullptr, nullptr},
    {PageXpdrType, ListOf(PageXpdrType), nullptr, nullptr, nullptr},
    {PageCommModels, ListOf(PageCommModels), nullptr, nullptr, nullptr},
    {PageXpdrModels, ListOf(PageXpdrModels), nullptr, nullptr, nullptr},
    {PageCommPanel, ListOf(PageCommPanel), nullptr, nullptr, nullptr},
    {PageXpdrPanel, ListOf(PageXpdrPanel), nullptr, nullptr, nullptr},
    {PageXpdrMode, ListOf(PageXpdrMode), nullptr, nullptr, nullptr},
    {PageEmergencySquawk, ListOf(PageEmergencySquawk), nullptr, nullptr, nullptr},
    {PageEngineRangeLimits, ListOf(PageEngineRangeLimits), nullptr, nullptr, nullptr},
    {PageRpmLimits, ListOf(PageRpmLimits), nullptr, nullptr, nullptr},
    {PageEgtLimits, ListOf(PageEgtLimits), nullptr, nullptr, nullptr},
    {PageChtLimits, ListOf(PageChtLimits), nullptr, nullptr, nullptr},
    {PageLeftTankLimits, ListOf(PageLeftTankLimits), nullptr, nullptr, nullptr},
    {PageRightTankLimits, ListOf(PageRightTankLimits), nullptr, nullptr, nullptr},
    {PageFuelFlowLimits, ListOf(PageFuelFlowLimits), nullptr, nullptr, nullptr},
    {PageFuelPressureLimits, ListOf(PageFuelPressureLimits), nullptr, nullptr, nullptr},
    {PageRotorRpmLimits, ListOf(PageRotorRpmLimits), nullptr, nullptr, nullptr},
    {PageManifoldLimits, ListOf(PageManifoldLimits), nullptr, nullptr, nullptr},
    {PageWaterChtLimits, ListOf(PageWaterChtLimits), nullptr, nullptr, nullptr},
    {PageWaterAuxLimits, ListOf(PageWaterAuxLimits), nullptr, nullptr, nullptr},
    {PageOilTemperatureLimits, ListOf(PageOilTemperatureLimits), nullptr, nullptr, nullptr},
    {PageOilPressureLimits, ListOf(PageOilPressureLimits), nullptr, nullptr, nullptr},
    {PageVoltageLimits, ListOf(PageVoltageLimits), nullptr, nullptr, nullptr},
    {PageCurrentLimits, ListOf(PageCurrentLimits), nullptr, nullptr, nullptr},
    {PageSensorsEngine, ListOf(PageSensorsEngine), nullptr, nullptr, nullptr},
    {PageSensorsFlight, ListOf(PageSensorsFlight), nullptr, nullptr, nullptr},
    {PageRpmInput, ListOf(PageRpmInput), nullptr, nullptr, nullptr},
    {PageManifoldSensor, ListOf(PageManifoldSensor), nullptr, nullptr, nullptr},
    {PageRotorRpmInput, ListOf(PageRotorRpmInput), nullptr, nullptr, nullptr},
    {PageOilPressureSensor, ListOf(PageOilPressureSensor), nullptr, nullptr, nullptr},
    {PageOilTemperatureSensor, ListOf(PageOilTemperatureSensor), nullptr, nullptr, nullptr},
    {PageWaterChtSensor, ListOf(PageWaterChtSensor), nullptr, nullptr, nullptr},
    {PageWaterAuxSensor, ListOf(PageWaterAuxSensor), nullptr, nullptr, nullptr},
    {PageLeftTankSensor, ListOf(PageLeftTankSensor), nullptr, nullptr, nullptr},
    {PageRightTankSensor, ListOf(PageRightTankSensor), nullptr, nullptr, nullptr},
    {PageFuelPressureSensor, ListOf(PageFuelPressureSensor), nullptr, nullptr, nullptr},
    {PageFuelFlowInput, ListOf(PageFuelFlowInput), nullptr, nullptr, nullptr},
    {PageIatSensor, ListOf(PageIatSensor), nullptr, nullptr, nullptr},
    {PageOatSensor, ListOf(PageOatSensor), nullptr, nullptr, nullptr},
    {PageAuxInputOutput, ListOf(PageAuxInputOutput), nullptr, nullptr, nullptr},
    {PageCanopyInput, ListOf(PageCanopyInput), nullptr, nullptr, nullptr},
    {PageGearUpInput, ListOf(PageGearUpInput), nullptr, nullptr, nullptr},
    {PageGearDownInput, ListOf(PageGearDownInput), nullptr, nullptr, nullptr},
    {PageExternalSignal, ListOf(PageExternalSignal), nullptr, nullptr, nullptr},
    {PageVoltageInputs, ListOf(PageVoltageInputs), nullptr, nullptr, nullptr},
    {PageCurrentInputs, ListOf(PageCurrentInputs), nullptr, nullptr, nullptr},
    {PageCylinderCount, ListOf(PageCylinderCount), nullptr, nullptr, nullptr},
    {PageThermoSlotsSix, ListOf(PageThermoSlotsSix), nullptr, nullptr, nullptr},
    {PageThermoSlotsFour, ListOf(PageThermoSlotsFour), nullptr, nullptr, nullptr},
    {PageThermoSlotsTwo, ListOf(PageThermoSlotsTwo), nullptr, nullptr, nullptr},
    {PageThermoChannelJ, ListOf(PageThermoChannelJ), nullptr, nullptr, nullptr},
    {PageThermoChannelK, ListOf(PageThermoChannelK), nullptr, nullptr, nullptr},
    {PageThermoInput, ListOf(PageThermoInput), nullptr, nullptr, nullptr},
    {PageTypeKSensors, ListOf(PageTypeKSensors), nullptr, nullptr, nullptr},
    {PageTypeJSensors, ListOf(PageTypeJSensors), nullptr, nullptr, nullptr},
    {PageOtherEngine, ListOf(PageOtherEngine), nullptr, nullptr, nullptr},
    {PageOtherEngineNoFuelCalib, ListOf(PageOtherEngineNoFuelCalib), nullptr, nullptr, nullptr},
    {PageOtherBacklightEngine, ListOf(PageOtherBacklightEngine), nullptr, nullptr, nullptr},
    {PageCalibTankChoice, ListOf(PageCalibTankChoice), nullptr, nullptr, nullptr},
    {PageUnusableTankChoice, ListOf(PageUnusableTankChoice), nullptr, nullptr, nullptr},
    {PageCalibTotalTank, ListOf(PageCalibTotalTank), nullptr, nullptr, nullptr},
    {PageUnusableTotalTank, ListOf(PageUnusableTotalTank), nullptr, nullptr, nullptr},
    {PageFuelFlowSetting, ListOf(PageFuelFlowSetting), nullptr, nullptr, nullptr},
    {PageRpmSetting, ListOf(PageRpmSetting), nullptr, nullptr, nullptr},
    {PageRotorRpmSetting, ListOf(PageRotorRpmSetting), nullptr, nullptr, nullptr},
    {PageDimmerVoltage, ListOf(PageDimmerVoltage), nullptr, nullptr, nullptr},
    {PageDimmerSource, ListOf(PageDimmerSource), nullptr, nullptr, nullptr},
    {PageBacklightColour, ListOf(PageBacklightColour), nullptr, nullptr, nullptr},
    {PageOtherFlightScreens, ListOf(PageOtherFlightScreens), nullptr, nullptr, nullptr},
    {PageOtherEngineScreens, ListOf(PageOtherEngineScreens), nullptr, nullptr, nullptr},
    {PageNavSource, ListOf(PageNavSource), nullptr, nullptr, nullptr},
    {PageVoiceMessages, ListOf(PageVoiceMessages), nullptr, nullptr, nullptr},
    {PageAutopilotHolds, ListOf(PageAutopilotHolds), nullptr, nullptr, nullptr},
    {PageStatistic, ListOf(PageStatistic), nullptr, nullptr, nullptr},
    {PageBacklightControl, ListOf(PageBacklightControl), nullptr, nullptr, nullptr},
    {PageWaterChtLabel, ListOf(PageWaterChtLabel), nullptr, nullptr, nullptr},
    {PageMainSwitch, ListOf(PageMainSwitch), nullptr, nullptr, nullptr},
    {PageDemoMode, ListOf(PageDemoMode), nullptr, nullptr, nullptr},
    {PageDemoDeviceType, ListOf(PageDemoDeviceType), nullptr, nullptr, nullptr},
    {PageDemoResetTime, ListOf(PageDemoResetTime), nullptr, nullptr, nullptr},
    {PageLanguage, ListOf(PageLanguage), nullptr, nullptr, nullptr},
    {PageRoleChoice, ListOf(PageRoleChoice), nullptr, nullptr, nullptr},
    {PageAutopilotSetup, ListOf(PageAutopilotSetup), nullptr, nullptr, nullptr},
    {PageServoSetup, ListOf(PageServoSetup), nullptr, nullptr, nullptr},
    {PageRollServo, ListOf(PageRollServo), nullptr, nullptr, nullptr},
    {PagePitchServo, ListOf(PagePitchServo), nullptr, nullptr, nullptr},
    {PageYawServo, ListOf(PageYawServo), nullptr, nullptr, nullptr},
    {PageServoDeflection, ListOf(PageServoDeflection), nullptr, nullptr, nullptr},
    {PageExternalButton, ListOf(PageExternalButton), nullptr, nullptr, nullptr},
    {PageRollAxis, ListOf(PageRollAxis), nullptr, nullptr, nullptr},
    {PagePitchAxis, ListOf(PagePitchAxis), nullptr, nullptr, nullptr},
    {PageRadioMemories, ListOf(PageRadioMemories), nullptr, nullptr, nullptr},
    {PageEngineEcu, ListOf(PageEngineEcu), nullptr, nullptr, nullptr},
    {PageEcuDiagnostics, ListOf(PageEcuDiagnostics), nullptr, nullptr, nullptr},
    {-1, -1, nullptr, nullptr, nullptr},
};
