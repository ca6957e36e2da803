VERSION 5.00
Begin VB.Form frmDeep 
   Begin VB.Frame fra1 
   Begin VB.Frame fra2 
   Begin VB.Frame fra3 
   Begin VB.Frame fra4 
   Begin VB.Frame fra5 
   Begin VB.Frame fra6 
   Begin VB.Frame fra7 
   Begin VB.Frame fra8 
   Begin VB.Frame fra9 
   Begin VB.Frame fra10 
   Begin VB.Frame fra11 
   Begin VB.Frame fra12 
   Begin VB.Frame fra13 
   Begin VB.Frame fra14 
   Begin VB.Frame fra15 
   Begin VB.Frame fra16 
   Begin VB.Frame fra17 
   Begin VB.Frame fra18 
   Begin VB.Frame fra19 
   Begin VB.Frame fra20 
   Begin VB.Frame fra21 
   Begin VB.Frame fra22 
   Begin VB.Frame fra23 
   Begin VB.Frame fra24 
   Begin VB.Frame fra25 
   Begin VB.Frame fra26 
   Begin VB.Frame fra27 
   Begin VB.Frame fra28 
   Begin VB.Frame fra29 
   Begin VB.Frame fra30 
   Begin VB.Frame fra31 
   Begin VB.Frame fra32 
   Begin VB.Frame fra33 
   Begin VB.Frame fra34 
   Begin VB.Frame fra35 
   Begin VB.Frame fra36 
   Begin VB.Frame fra37 
   Begin VB.Frame fra38 
   Begin VB.Frame fra39 
   Begin VB.Frame fra40 
   Begin VB.Frame fra41 
   Begin VB.Frame fra42 
   Begin VB.Frame fra43 
   Begin VB.Frame fra44 
   Begin VB.Frame fra45 
   Begin VB.Frame fra46 
   Begin VB.Frame fra47 
   Begin VB.Frame fra48 
   Begin VB.Frame fra49 
   Begin VB.Frame fra50 
   Begin VB.Frame fra51 
   Begin VB.Frame fra52 
   Begin VB.Frame fra53 
   Begin VB.Frame fra54 
   Begin VB.Frame fra55 
   Begin VB.Frame fra56 
   Begin VB.Frame fra57 
   Begin VB.Frame fra58 
   Begin VB.Frame fra59 
   Begin VB.Frame fra60 
   Begin VB.Frame fra61 
   Begin VB.Frame fra62 
   Begin VB.Frame fra63 
   Begin VB.Frame fra64 
   Begin VB.Frame fra65 
   Begin VB.Frame fra66 
   Begin VB.Frame fra67 
   Begin VB.Frame fra68 
   Begin VB.Frame fra69 
   Begin VB.Frame fra70 
   Begin VB.Frame fra71 
   Begin VB.Frame fra72 
   Begin VB.Frame fra73 
   Begin VB.Frame fra74 
   Begin VB.Frame fra75 
   Begin VB.Frame fra76 
   Begin VB.Frame fra77 
   Begin VB.Frame fra78 
   Begin VB.Frame fra79 
   Begin VB.Frame fra80 
   Begin VB.Frame fra81 
   Begin VB.Frame fra82 
   Begin VB.Frame fra83 
   Begin VB.Frame fra84 
   Begin VB.Frame fra85 
   Begin VB.Frame fra86 
   Begin VB.Frame fra87 
   Begin VB.Frame fra88 
   Begin VB.Frame fra89 
   Begin VB.Frame fra90 
   Begin VB.Frame fra91 
   Begin VB.Frame fra92 
   Begin VB.Frame fra93 
   Begin VB.Frame fra94 
   Begin VB.Frame fra95 
   Begin VB.Frame fra96 
   Begin VB.Frame fra97 
   Begin VB.Frame fra98 
   Begin VB.Frame fra99 
   Begin VB.Frame fra100 
   Begin VB.Frame fra101 
   Begin VB.Frame fra102 
   Begin VB.Frame fra103 
   Begin VB.Frame fra104 
   Begin VB.Frame fra105 
   Begin VB.Frame fra106 
   Begin VB.Frame fra107 
   Begin VB.Frame fra108 
   Begin VB.Frame fra109 
   Begin VB.Frame fra110 
   Begin VB.Frame fra111 
   Begin VB.Frame fra112 
   Begin VB.Frame fra113 
   Begin VB.Frame fra114 
   Begin VB.Frame fra115 
   Begin VB.Frame fra116 
   Begin VB.Frame fra117 
   Begin VB.Frame fra118 
   Begin VB.Frame fra119 
   Begin VB.Frame fra120 
   Begin VB.Frame fra121 
   Begin VB.Frame fra122 
   Begin VB.Frame fra123 
   Begin VB.Frame fra124 
   Begin VB.Frame fra125 
   Begin VB.Frame fra126 
   Begin VB.Frame fra127 
   Begin VB.Frame fra128 
   Begin VB.Frame fra129 
   Begin VB.Frame fra130 
   Begin VB.Frame fra131 
   Begin VB.Frame fra132 
   Begin VB.Frame fra133 
   Begin VB.Frame fra134 
   Begin VB.Frame fra135 
   Begin VB.Frame fra136 
   Begin VB.Frame fra137 
   Begin VB.Frame fra138 
   Begin VB.Frame fra139 
   Begin VB.Frame fra140 
   Begin VB.Frame fra141 
   Begin VB.Frame fra142 
   Begin VB.Frame fra143 
   Begin VB.Frame fra144 
   Begin VB.Frame fra145 
   Begin VB.Frame fra146 
   Begin VB.Frame fra147 
   Begin VB.Frame fra148 
   Begin VB.Frame fra149 
   Begin VB.Frame fra150 
   Begin VB.Frame fra151 
   Begin VB.Frame fra152 
   Begin VB.Frame fra153 
   Begin VB.Frame fra154 
   Begin VB.Frame fra155 
   Begin VB.Frame fra156 
   Begin VB.Frame fra157 
   Begin VB.Frame fra158 
   Begin VB.Frame fra159 
   Begin VB.Frame fra160 
   Begin VB.Frame fra161 
   Begin VB.Frame fra162 
   Begin VB.Frame fra163 
   Begin VB.Frame fra164 
   Begin VB.Frame fra165 
   Begin VB.Frame fra166 
   Begin VB.Frame fra167 
   Begin VB.Frame fra168 
   Begin VB.Frame fra169 
   Begin VB.Frame fra170 
   Begin VB.Frame fra171 
   Begin VB.Frame fra172 
   Begin VB.Frame fra173 
   Begin VB.Frame fra174 
   Begin VB.Frame fra175 
   Begin VB.Frame fra176 
   Begin VB.Frame fra177 
   Begin VB.Frame fra178 
   Begin VB.Frame fra179 
   Begin VB.Frame fra180 
   Begin VB.Frame fra181 
   Begin VB.Frame fra182 
   Begin VB.Frame fra183 
   Begin VB.Frame fra184 
   Begin VB.Frame fra185 
   Begin VB.Frame fra186 
   Begin VB.Frame fra187 
   Begin VB.Frame fra188 
   Begin VB.Frame fra189 
   Begin VB.Frame fra190 
   Begin VB.Frame fra191 
   Begin VB.Frame fra192 
   Begin VB.Frame fra193 
   Begin VB.Frame fra194 
   Begin VB.Frame fra195 
   Begin VB.Frame fra196 
   Begin VB.Frame fra197 
   Begin VB.Frame fra198 
   Begin VB.Frame fra199 
   Begin VB.Frame fra200 
   Begin VB.Frame fra201 
   Begin VB.Frame fra202 
   Begin VB.Frame fra203 
   Begin VB.Frame fra204 
   Begin VB.Frame fra205 
   Begin VB.Frame fra206 
   Begin VB.Frame fra207 
   Begin VB.Frame fra208 
   Begin VB.Frame fra209 
   Begin VB.Frame fra210 
   Begin VB.Frame fra211 
   Begin VB.Frame fra212 
   Begin VB.Frame fra213 
   Begin VB.Frame fra214 
   Begin VB.Frame fra215 
   Begin VB.Frame fra216 
   Begin VB.Frame fra217 
   Begin VB.Frame fra218 
   Begin VB.Frame fra219 
   Begin VB.Frame fra220 
   Begin VB.Frame fra221 
   Begin VB.Frame fra222 
   Begin VB.Frame fra223 
   Begin VB.Frame fra224 
   Begin VB.Frame fra225 
   Begin VB.Frame fra226 
   Begin VB.Frame fra227 
   Begin VB.Frame fra228 
   Begin VB.Frame fra229 
   Begin VB.Frame fra230 
   Begin VB.Frame fra231 
   Begin VB.Frame fra232 
   Begin VB.Frame fra233 
   Begin VB.Frame fra234 
   Begin VB.Frame fra235 
   Begin VB.Frame fra236 
   Begin VB.Frame fra237 
   Begin VB.Frame fra238 
   Begin VB.Frame fra239 
   Begin VB.Frame fra240 
   Begin VB.Frame fra241 
   Begin VB.Frame fra242 
   Begin VB.Frame fra243 
   Begin VB.Frame fra244 
   Begin VB.Frame fra245 
   Begin VB.Frame fra246 
   Begin VB.Frame fra247 
   Begin VB.Frame fra248 
   Begin VB.Frame fra249 
   Begin VB.Frame fra250 
   Begin VB.Frame fra251 
   Begin VB.Frame fra252 
   Begin VB.Frame fra253 
   Begin VB.Frame fra254 
   Begin VB.Frame fra255 
   Begin VB.Frame fra256 
   Begin VB.Frame fra257 
   Begin VB.Frame fra258 
   Begin VB.Frame fra259 
   Begin VB.Frame fra260 
   Begin VB.Frame fra261 
   Begin VB.Frame fra262 
   Begin VB.Frame fra263 
   Begin VB.Frame fra264 
   Begin VB.Frame fra265 
   Begin VB.Frame fra266 
   Begin VB.Frame fra267 
   Begin VB.Frame fra268 
   Begin VB.Frame fra269 
   Begin VB.Frame fra270 
   Begin VB.Frame fra271 
   Begin VB.Frame fra272 
   Begin VB.Frame fra273 
   Begin VB.Frame fra274 
   Begin VB.Frame fra275 
   Begin VB.Frame fra276 
   Begin VB.Frame fra277 
   Begin VB.Frame fra278 
   Begin VB.Frame fra279 
   Begin VB.Frame fra280 
   Begin VB.Frame fra281 
   Begin VB.Frame fra282 
   Begin VB.Frame fra283 
   Begin VB.Frame fra284 
   Begin VB.Frame fra285 
   Begin VB.Frame fra286 
   Begin VB.Frame fra287 
   Begin VB.Frame fra288 
   Begin VB.Frame fra289 
   Begin VB.Frame fra290 
   Begin VB.Frame fra291 
   Begin VB.Frame fra292 
   Begin VB.Frame fra293 
   Begin VB.Frame fra294 
   Begin VB.Frame fra295 
   Begin VB.Frame fra296 
   Begin VB.Frame fra297 
   Begin VB.Frame fra298 
   Begin VB.Frame fra299 
   Begin VB.Frame fra300 
   Begin VB.Frame fra301 
   Begin VB.Frame fra302 
   Begin VB.Frame fra303 
   Begin VB.Frame fra304 
   Begin VB.Frame fra305 
   Begin VB.Frame fra306 
   Begin VB.Frame fra307 
   Begin VB.Frame fra308 
   Begin VB.Frame fra309 
   Begin VB.Frame fra310 
   Begin VB.Frame fra311 
   Begin VB.Frame fra312 
   Begin VB.Frame fra313 
   Begin VB.Frame fra314 
   Begin VB.Frame fra315 
   Begin VB.Frame fra316 
   Begin VB.Frame fra317 
   Begin VB.Frame fra318 
   Begin VB.Frame fra319 
   Begin VB.Frame fra320 
   Begin VB.Frame fra321 
   Begin VB.Frame fra322 
   Begin VB.Frame fra323 
   Begin VB.Frame fra324 
   Begin VB.Frame fra325 
   Begin VB.Frame fra326 
   Begin VB.Frame fra327 
   Begin VB.Frame fra328 
   Begin VB.Frame fra329 
   Begin VB.Frame fra330 
   Begin VB.Frame fra331 
   Begin VB.Frame fra332 
   Begin VB.Frame fra333 
   Begin VB.Frame fra334 
   Begin VB.Frame fra335 
   Begin VB.Frame fra336 
   Begin VB.Frame fra337 
   Begin VB.Frame fra338 
   Begin VB.Frame fra339 
   Begin VB.Frame fra340 
   Begin VB.Frame fra341 
   Begin VB.Frame fra342 
   Begin VB.Frame fra343 
   Begin VB.Frame fra344 
   Begin VB.Frame fra345 
   Begin VB.Frame fra346 
   Begin VB.Frame fra347 
   Begin VB.Frame fra348 
   Begin VB.Frame fra349 
   Begin VB.Frame fra350 
   Begin VB.Frame fra351 
   Begin VB.Frame fra352 
   Begin VB.Frame fra353 
   Begin VB.Frame fra354 
   Begin VB.Frame fra355 
   Begin VB.Frame fra356 
   Begin VB.Frame fra357 
   Begin VB.Frame fra358 
   Begin VB.Frame fra359 
   Begin VB.Frame fra360 
   Begin VB.Frame fra361 
   Begin VB.Frame fra362 
   Begin VB.Frame fra363 
   Begin VB.Frame fra364 
   Begin VB.Frame fra365 
   Begin VB.Frame fra366 
   Begin VB.Frame fra367 
   Begin VB.Frame fra368 
   Begin VB.Frame fra369 
   Begin VB.Frame fra370 
   Begin VB.Frame fra371 
   Begin VB.Frame fra372 
   Begin VB.Frame fra373 
   Begin VB.Frame fra374 
   Begin VB.Frame fra375 
   Begin VB.Frame fra376 
   Begin VB.Frame fra377 
   Begin VB.Frame fra378 
   Begin VB.Frame fra379 
   Begin VB.Frame fra380 
   Begin VB.Frame fra381 
   Begin VB.Frame fra382 
   Begin VB.Frame fra383 
   Begin VB.Frame fra384 
   Begin VB.Frame fra385 
   Begin VB.Frame fra386 
   Begin VB.Frame fra387 
   Begin VB.Frame fra388 
   Begin VB.Frame fra389 
   Begin VB.Frame fra390 
   Begin VB.Frame fra391 
   Begin VB.Frame fra392 
   Begin VB.Frame fra393 
   Begin VB.Frame fra394 
   Begin VB.Frame fra395 
   Begin VB.Frame fra396 
   Begin VB.Frame fra397 
   Begin VB.Frame fra398 
   Begin VB.Frame fra399 
   Begin VB.Frame fra400 
   Begin VB.Frame fra401 
   Begin VB.Frame fra402 
   Begin VB.Frame fra403 
   Begin VB.Frame fra404 
   Begin VB.Frame fra405 
   Begin VB.Frame fra406 
   Begin VB.Frame fra407 
   Begin VB.Frame fra408 
   Begin VB.Frame fra409 
   Begin VB.Frame fra410 
   Begin VB.Frame fra411 
   Begin VB.Frame fra412 
   Begin VB.Frame fra413 
   Begin VB.Frame fra414 
   Begin VB.Frame fra415 
   Begin VB.Frame fra416 
   Begin VB.Frame fra417 
   Begin VB.Frame fra418 
   Begin VB.Frame fra419 
   Begin VB.Frame fra420 
   Begin VB.Frame fra421 
   Begin VB.Frame fra422 
   Begin VB.Frame fra423 
   Begin VB.Frame fra424 
   Begin VB.Frame fra425 
   Begin VB.Frame fra426 
   Begin VB.Frame fra427 
   Begin VB.Frame fra428 
   Begin VB.Frame fra429 
   Begin VB.Frame fra430 
   Begin dex As Variant) As VariVB.Frame fra431 
   Begin VB.Frame fra432 
   Begin VB.Frame fra433 
   Begin VB.Frame fra434 
   Begin VB.Frame fra435 
   Begin VB.Frame fra436 
   Begin VB.Frame fra437 
   Begin VB.Frame fra438 
   Begin VB.Frame fra439 
   Begin VB.Frame fra440 
   Begin VB.Frame fra441 
   Begin VB.Frame fra442 
   Begin VB.Frame fra443 
   Begin VB.Frame fra444 
   Begin VB.Frame fra445 
   Begin VB.Frame fra446 
   Begin VB.Frame fra447 
   Begin VB.Frame fra448 
   Begin VB.Frame fra449 
   Begin VB.Frame fra450 
   Begin VB.Frame fra451 
   Begin VB.Frame fra452 
   Begin VB.Frame fra453 
   Begin VB.Frame fra454 
   Begin VB.Frame fra455 
   Begin VB.Frame fra456 
   Begin VB.Frame fra457 
   Begin VB.Frame fra458 
   Begin VB.Frame fra459 
   Begin VB.Frame fra460 
   Begin VB.Frame fra461 
   Begin VB.Frame fra462 
   Begin VB.Frame fra463 
   Begin VB.Frame fra464 
   Begin VB.Frame fra465 
   Begin VB.Frame fra466 
   Begin VB.Frame fra467 
   Begin VB.Frame fra468 
   Begin VB.Frame fra469 
   Begin VB.Frame fra470 
   Begin VB.Frame fra471 
   Begin VB.Frame fra472 
   Begin VB.Frame fra473 
   Begin VB.Frame fra474 
   Begin VB.Frame fra475 
   Begin VB.Frame fra476 
   Begin VB.Frame fra477 
   Begin VB.Frame fra478 
   Begin VB.Frame fra479 
   Begin VB.Frame fra480 
   Begin VB.Frame fra481 
   Begin VB.Frame fra482 
   Begin VB.Frame fra483 
   Begin VB.Frame fra484 
   Begin VB.Frame fra485 
   Begin VB.Frame fra486 
   Begin VB.Frame fra487 
   Begin VB.Frame fra488 
   Begin VB.Frame fra489 
   Begin VB.Frame fra490 
   Begin VB.Frame fra491 
   Begin VB.Frame fra492 
   Begin VB.Frame fra493 
   Begin VB.Frame fra494 
   Begin VB.Frame fra495 
   Begin VB.Frame fra496 
   Begin VB.Frame fra497 
   Begin VB.Frame fra498 
   Begin VB.Frame fra499 
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
   End
End
Attribute VB_Name = "frmDeep"
