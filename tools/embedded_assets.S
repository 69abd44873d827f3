/* The generated assets, included byte for byte. Each file gets a start and an end
   symbol; embedded_assets.cpp registers them under their "res\..." names. */

    .section .note.GNU-stack,"",@progbits

    .macro asset sym, file
    .section .rodata.\sym,"a",@progbits
    .balign 16
    .global \sym
    .hidden \sym
    .type \sym, @object
\sym:
    .incbin "\file"
    .global \sym\()_end
    .hidden \sym\()_end
\sym\()_end:
    .size \sym, \sym\()_end - \sym
    .endm

    asset sg_res_dot, "dot.png"
    asset sg_res_backdrop1, "backdrop1.png"
    asset sg_res_backdrop2, "backdrop2.jpg"
    asset sg_res_shot, "shot.ogg"
    asset sg_res_shot3, "shot3.ogg"
    asset sg_res_blip, "BlipSND.ogg"
    asset sg_res_takegrub, "TakeGrub.ogg"
    asset sg_res_crunch1, "Crunch1.ogg"
    asset sg_res_crunch2, "Crunch2.ogg"
    asset sg_res_crunch3, "Crunch3.ogg"
    asset sg_res_eggpushedoff, "EggPushedOff.ogg"
    asset sg_res_bonusship, "BonusShip.ogg"
    asset sg_res_woorp, "WoorpSND.ogg"
    asset sg_res_swoosh, "Swoosh.ogg"
    asset sg_res_boing, "Boing.ogg"
    asset sg_res_levelcomplete, "LevelComplete.ogg"
    asset sg_res_menuloop, "menu-loop.ogg"
    asset sg_res_ingameloop, "ingame-loop.ogg"
