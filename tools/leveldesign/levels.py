# Gloomhold's campaign, one entry per level in play order. See lv.py for the
# map characters: '#' rock, ' ' floor, the level text legend for the rest,
# and an optional floor map for objects standing on special floors.
LEVELS = []


def L(title, map, solution, floor=None, note=None):
    LEVELS.append(dict(title=title, map=map, solution=solution, floor=floor, note=note))


L("First Steps", """
########
#>    ##
#####  #
#####X #
########
""", "RRRRDD.")

L("Shove", """
###########
#>  B    ##
#####    ##
#####   X##
###########
""", "RRRRDDRRR")

L("A Ball for the Box", """
###########
#>        #
#    o    #
#    B    #
#######D###
###########
""", "RRRRDRRD" + "D" * 20 + ".")

L("Two Light, Never Heavy", """
##############
#>  BB     X##
# ####### ####
#   oo       #
##############
""", "DDRRRRRRRRUURR")

L("Lock and Key", """
##########
#>     ###
#    k ###
####   LX#
##########
""", "RRRRDLDRR" + "R" * 15)

L("Pressure Plate", """
###########
#>        #
#  B    + #
######H####
######X####
###########
""", "DRRRRRRLDD.")

L("Lever and Burner", """
#############
#############
#/>  r B    #
#########  X#
#############
""", "L" + "." * 14 + "RRRRRRRRDR",
  floor="""
.............
.............
.....u.......
""")

L("Fire and Powder", """
############
#>  g  F####
#      %  X#
############
""", "RRRRRL" + "." * 34 + "DRRRRR")

L("Carry the Flame", """
###########
#####  ####
#>  tt F###
####X%g####
###########
""", "RRRR.....RURDL" + "." * 34 + "DDL.")

L("Powder Trail", """
##############
#>  g  F######
# #####g######
# #####g######
# #####g######
#      %X#####
##############
""", "RRRRRL" + "." * 110 + "LLLLDDDDRRRRRRR")

L("Blast Block", """
#############
#############
#/>   g  $ X#
#############
""", "RRRRRRLLLLLL" + "." * 34 + "RRRRRRRRR",
  floor="""
.............
.............
........u....
""")

L("Water on Fire", """
#############
#######S#####
###   kL#####
#>     F   X#
#############
""", "RRURRR" + "." * 30 + "DRRRRR")

L("Plug the Drain", """
##############
##S##>########
## ##p########
##        F X#
#####O########
##############
""", "DD" + "." * 60 + "RRRRRRR")

L("Pipe and Baffle", """
###########
#S #  >####
#  =( #####
####  #####
#X  F #####
###########
""", "LDDLU" + "." * 30 + "DDLLL.")

L("The Spout", """
##########
####V#####
####%#####
#> gF   X#
##########
""", "RRL" + "." * 60 + "RRRRRRR")

L("Rising Float", """
############
########S###
#XL    >)  #
##k#####|###
## #####|###
##r      ###
############
""", "R" + "." * 105 + "LLLLLLLL.")

L("Lava Flow", """
###########
#>     HX##
###  B  ###
#+~~~~~~~~#
###########
""", "RRRRD" + "." * 40 + "URRR")

L("Bombs Away", """
###########
#>    #####
# !B  %  X#
#     #####
###########
""", "RRDULLDRRRR" + "." * 8 + "RRRRRR")

L("Slick Floor", """
############
#>  @@@    #
####### o B#
#########D##
############
""", "RRRRRRDRR" + "D" * 20 + ".", floor="""
............
.iiiiiiiiii.
""")

L("Slow Fuse", """
##############
##############
#/>c      %X##
##############
""", "L" + "." * 8 + "RRRRRRR" + "." * 60 + "RRRRRRRR", floor="""
..............
..............
...u..........
""")

L("Ball on a Plate", """
#############
#>          #
#  o    o  D#
###+####B####
#############
""", "RRDURRRRRDRR" + "R" * 20)

L("The Key on the River", """
##############
#>           #
#  # k  +  B #
## ###H#######
#XL~~~~~~~~~~#
##############
""", "R" * 11 + "DLLLULLLLLDRURDDUULLLLDD" + "D" * 30 + "L.")

L("Light Before You Move", """
##############
#/>  #########
# t  #########
#    g$   X###
##############
""", "L....DLDRRRLL" + "." * 30 + "RRRRRRRRR", floor="""
..............
..............
..u...........
""")

L("Reservoir", """
##############
#S   ######D #
#    %F  g > #
#    #|#######
######  B#####
######  o#####
######  r#####
######   #####
##############
""", "LLLLRRR" + "." * 150 + "R" + "U" * 40)

L("Two Rivers", """
################
#>             #
# #     o      #
# B~~~~~~~~~~~ #
# ##           #
# ##     k     #
#L~~~~~~~~~~~~ #
#D##############
#X##############
################
""", "RRRRRRRD" + "RRRRRRDD" + "LLLLLD" + "RRRRRUUUU" + "L" * 13 + "DDDD" + "D" * 40 + ".")

L("Bomb Alley", """
##############
#>     #######
# !    #######
#   B  $ HX###
####+#########
##############
""", "RRRDDUULLDLDRRRRR" + "." * 6 + "R" * 10)

L("Deflector", """
################
####S###########
#> ( O##########
#      #########
#### / #########
#### ###########
###Ot ##########
###         g%X#
###   ##########
################
""", "RRDRRRD" + "." * 8 + "L....." + "ULLDDDRDDLLURRRRRRRRLL" + "." * 30 + "R" * 12, floor="""
................
................
................
................
................
................
....u...........
""")

L("Slick Vault", """
###############
#####+#########
#>          ###
#           HX#
#  @   B    ###
#           ###
#           +##
###############
""", "DDRRRDRUUU" + "DDRRRRRURDDLDRUUURR", floor="""
...............
...............
..iiiiiiiiii...
..iiiiiiiiii...
..iiii..iiii...
..iiiiiiiiii...
..iiiiiiiiii...
""")

L("Fuse and Plate", """
##################
##################
##F  c>          #
################ #
#X H             #
##################
""", "LLL" + "R" * 13 + "DD" + "L" * 15 + ".", floor="""
..................
..................
..+...............
""")

L("Before the Spout", """
################
########V#######
###      #######
#>  tt  F#######
######  ########
######      g%X#
################
""", "RRRRR....RURDDLDRRRRRLL" + "." * 30 + "R" * 10)

L("The Key Holds the Gate", """
################
#  B   >########
##+kH   L     ##
########### ####
#D   B    o   ##
#             ##
################
""", "LLLLLLD." + "RRRRR" + "." * 9 + "RRRRDD" + "LLLLL" + "DLLLLL" + "U" * 20)

L("Downstream Fuse", """
################
####         <##
#X  $   g  g   #
#~~~~~~~~~~~~~~#
################
""", "LLLLDLULD" + "." * 40 + "LLLLLL.")

L("Remote Detonation", """
##############
#>     #######
#  B ! H   ###
# +   #$######
#######X######
##############
""", "RRRDLULD" + "RRRR" + "LLLLLDRR" + "URRDLL" + "URRRRDD" + "D" * 10 + ".")

L("Waterworks", """
##################
#S #           >##
#  Y(           ##
####   ###########
####F#############
#       #        #
#  k  B L        #
#       #        #
############### ##
#D              ##
#    B    o     ##
#               ##
##################
""", "L" * 10 + "DDLU" + "." * 20 + "DDD" + "DDRRU" + "LLULLDRRRRR" + "." * 9 + "R" + "R" * 7 + "DDD"
   + "LLLLDLLLLLDLLLLLU" + "U" * 20)

L("Torch in the Rain", """
##################
#    #############
#/> t#############
#### #############
#### ######S######
####   (    O#####
###          g####
###          %####
############# ####
#D              ##
#  B          o ##
#               ##
##################
""", "L....." + "URRDDDD" + "RRRRRR" + "DDLLLLLLLU" + "R" * 9 + "LL" + "." * 28 + "DRRRRDD" + "RRD" + "L" * 11 + "DLLLUU" + "U" * 20,
  floor="""
..................
..................
....u.............
""")

L("The Dam", """
##################
#S  ##############
#   ##############
#   %F g  >     ##
######|######## ##
#    $!$        ##
#  o# r ##########
#  B##############
#D################
##################
""", "LLLLRRR" + "RRRRRRDD" + "LLLLLLL" + "." * 80 + "LLLLLDLLDD" + "D" * 20 + ".")

L("Burner and Key", """
##################
##              ##
#/>      g   k  ##
######%###########
###### ###########
####     #########
####     #########
####  B  #########
######L###########
#                #
############o###D#
##B~~~~~~~~~~#####
##################
""", "U" + "R" * 8 + "DLLL" + "U" + "L" * 5 + "DL" + "." * 30
   + "U" + "R" * 12 + "D" + "L" * 7 + "ULDDDD"
   + "LDDRLUURDD" + "." * 9 + "DD"
   + "R" * 6 + "DU" + "RRRR" + "D" * 110 + ".",
  floor="""
..................
..................
......u...........
""")

L("Ice Bombs", """
##################
##################
#>  BBB      !$  #
########### ######
###             ##
#X  $   g  g    ##
#~~~~~~~~~~~~~~~##
##################
""", "R" * 9 + "." * 8 + "RRRDD" + "LLDLULD" + "." * 40 + "LLLLLL.", floor="""
..................
..................
..iiiiiiiiiiiiiii.
""")

L("Lava Carries the Flame", """
################
#>             #
#  # k         #
##L~~~~~~~~~~~~#
## #############
#              #
#        t     #
#%g~~~~~~~~~~~~#
#X##############
################
""", "RRRRDULLLD" + "." * 30 + "DDD" + "RRRRRRRD" + "ULLLLLLLL" + "." * 80 + "DD" + "D" * 20 + ".")

L("Slow Relay", """
##################
#            #####
#/>c         #####
############  ####
########### B ####
############  ####
#X%           ####
##################
""", "U" + "R" * 10 + "DDRDL" + "ULUU" + "L" * 10 + "DL" + "...." + "R" * 9 + "URDDDDRD" + "L" * 9 + "." * 40 + "LLLL.",
  floor="""
..................
..................
...u..............
""")

L("Weigh Station", """
################
#>          ####
#  B  !  g  ####
#     #      ###
# + F   +  +h  #
############## #
############## #
########T      #
##XL      k    #
################
""", "RRRDLULDD" + "UURRRRRRDRRURDD" + "UULLLLLLDRRURDD" + "RRRRDRR" + "DDDLLLD" + "LLLLLL" + "L" * 30)

L("The Long Way Down", """
##################
##            ####
#/>      g    ####
######%###########
###### ###########
#      ###########
#  B ! H   #######
# +   #$##########
####### ##########
#D              ##
#    B    o     ##
#               ##
##################
""", "U" + "R" * 8 + "DLLL" + "UL" + "LLLL" + "DL" + "." * 30 + "RRRR" + "DDD"
   + "LLDLULD" + "RRRR" + "LLLLLDRR" + "URRDLL" + "URRRRDD" + "D"
   + "RRRRDLLLLL" + "DLLLLLU" + "U" * 20, floor="""
..................
..................
......u...........
""")

L("Torch, River and Ice", """
##################
#####  ###########
#>  tt F##########
#####%g###########
##### ############
#               ##
#  ######     k ##
##L~~~~~~~~~~~~ ##
## #####+#########
##           HX###
##  @   @  +######
##          ######
##################
""", "RRRR.....RURDL" + "." * 34 + "DDDD" + "R" * 9 + "D" + "U" + "L" * 12 + "D" + "D" * 110
   + "RRRRRRUU" + "LLLLLD" + "R" * 7 + "URRRR", floor="""
..................
..................
..................
..................
..................
..................
..................
..................
..................
..iiiiiiiiiii.....
..iiiiiiiiii......
..iiiiiiiiii......
""")

L("Two Plugs", """
##################
##S#>        #####
## #  ### ## #####
##     p   p F   #
#####O###O###### #
#   ### ###      #
#D  B       o    #
#                #
##################
""", "RRRRRDDLLL" + "RRRUULLLLDD" + "RRRRUURRRDDLL" + "RRUULLLDD" + "." * 40 + "RRRRRRRDD" + "LLLD" + "L" * 8
   + "DLLLL" + "U" * 20)

L("The Shove", """
##################
######## #########
#/>     @     ####
### g    #### ####
############# ####
#        #     ###
#        L  Bk ###
#        #     ###
## ###############
#                #
########o#######D#
##B~~~~~~#########
##################
""", "RDRRRR" + "LLLLUL" + "L" + "." * 30 + "R" * 12 + "DDD"
   + "RDDLLU" + "DRRU" + "LLLL" + "." * 9 + "L" * 8 + "DDD"
   + "R" * 6 + "DU" + "R" * 8 + "D" * 50 + ".", floor="""
..................
..................
..................
........u.........
""")

L("Clockwork", """
##################
#~~~~~~~~~~~~~~###
#   $   g  g    ##
## #          > ##
## ###############
##          c  F##
## ###############
##              ##
###############H##
#D              ##
#   B      o    ##
#               ##
##################
""", "LLLLLULDLU" + "." * 40 + "LLLLLDDD" + "R" * 12 + "L" * 12 + "DD" + "R" * 13 + "DD"
   + "LLLD" + "L" * 8 + "DLLLLU" + "U" * 20, floor="""
..................
..................
..................
..................
..................
...............+..
""")

L("Bubble Lift", """
##################
#S   O     p #####
#########|## #####
#####   #|## #####
#####   $!$    >##
#####   #r#######
###### ###########
#               ##
#  B        o   ##
#               ##
#               ##
###############D##
##################
""", "LLLUUU" + "L" * 6 + "R" * 6 + "DDD" + "." * 60 + "LLLLLL" + "DDD" + "RRRRRRRD" + "L" * 9 + "R" * 11 + "DD" + "D" * 20 + ".")

L("Fire Brigade", """
##################
########V#########
###      #########
#>  tt  F#########
######  ##########
######      g%  ##
############## ###
#              ###
#  B       B   ###
#+##########+#H###
#  B      o     ##
#D              ##
##################
""", "RRRRR....RURDDLDRRRRRLL" + "." * 30 + "RRRRRR" + "DD" + "LLLLDR" + "URD" + "L" * 8 + "LL" + "ULD"
   + "R" * 13 + "DD" + "LLL" + "L" * 7 + "DLL" + "L" * 20 + ".")

L("The Foundry", """
##################
#>     ###########
#  B ! H   #######
# +   #$##########
####### ##########
#              ###
#        t     ###
#%g~~~~~~~~~~~~###
# ######## #######
#         @  LX###
#       k    #####
#            #####
##################
""", "RRRDLULD" + "RRRR" + "LLLLLDRR" + "URRDLL" + "URRRRDD" + "D" + "RRDU" + "L" * 8 + "." * 80 + "DDDD"
   + "DD" + "R" * 9 + "UU" + "DDLLU" + "LU" + "RRRRR" + "." * 9 + "RR", floor="""
..................
..................
..................
..................
..................
..................
..................
..................
..................
..iiiiiiiiiii.....
..iiiiiiiiiii.....
..iiiiiiiiiii.....
""")

L("Cistern and Ice", """
##################
##########S#######
#   L    >)  #####
# ##k#####|#######
# ## #####|#######
# ##r      #######
# ###########X####
# ###########$####
#  BBB       !   #
# ################
##################
""", "R" + "." * 120 + "L" * 9 + "D" * 6 + "R" + "R" * 8 + "." * 6 + "R" * 5 + "UU", floor="""
..................
..................
..................
..................
..................
..................
..................
..................
..iiiiiiiiiiiiiii.
""")

L("Gloomhold Gate", """
##################
#          #######
#/>c       %  ####
############# ####
#~~~~~~~~~~~~ ####
#   $   g  g  ####
## #          ####
## ###############
#      ###########
#  B ! H   #######
# +   #$##########
#######X##########
##################
""", "L...." + "R" * 7 + "LL" + "." * 45 + "RRRRRR" + "DD" + "DDLLLLULDLU" + "." * 40 + "LLLLLDDD"
   + "RRDLULD" + "RRRR" + "LLLLLDRR" + "URRDLL" + "URRRRDD" + "D" * 10 + ".", floor="""
..................
..................
...u..............
""")

# What each level teaches or asks, for docs/levels.md.
NOTES = [
    "Walk to the exit.",
    "Push a box out of a corridor.",
    "Drop the ball into the box; the door opens and becomes the exit.",
    "Two boxes in a row are too heavy; two balls are not.",
    "Push the key round a corner into the lock.",
    "A box on the plate sinks the barrier; the player alone would have to stay on it.",
    "Walk left into the lever: the burner flames burn the float away.",
    "Push the keg into the fire; its blast breaks the wall.",
    "Nothing can be pushed out of fire: light a second torch from the first and carry it to the keg.",
    "One keg lights the next down a shaft, blast by blast, until the last breaks the wall.",
    "Set the keg on the burner before throwing the lever; the blast removes the blast block.",
    "The key opens the lock that holds back the water; the water puts out the fire.",
    "A drain swallows the stream; plug it and the water reaches the fire.",
    "Push the baffle up out of the pipe's mouth; pushed down, it ends in the fire and the way is lost.",
    "Blow the wall under the spout; its next flood puts out the fire.",
    "Open the pipe: the rising water lifts the float, which lifts the key into the lock.",
    "Lava drags the box left onto the plate.",
    "Move the box out of the bomb's way first; a bomb goes off against whatever it hits.",
    "Boxed balls slide for free on slick floor; then a ball for the door.",
    "A slow keg: lit by the burner, it leaves time to push it to the wall.",
    "A ball resting on a plate counts as gone: one box for two balls.",
    "Only the lava can deliver the key to its lock; a box dropped in first blocks it for good.",
    "Light the torch before moving it: once off the burner it cannot come back.",
    "A keg breaks the dam; the flood puts out the fire and floats a ball up into its box.",
    "Two rivers carry a ball to its box and a key to its lock; set both going before walking round.",
    "The box must go into the niche (a plate), not ahead of the bomb; the bomb then takes the blast block.",
    "Deflect the stream with the baffle, light the torch on the dry burner, carry it to the keg.",
    "On ice a boxed ball slides but a box on plain floor only moves for a player standing on plain floor; one push too many strands the ball.",
    "A slow keg in the fire holds the plate down just long enough to run to the barrier.",
    "Light both torches before the spout's first flood puts the fire out.",
    "Standing on the plate sinks the barrier, and a key pushed onto the sunk barrier holds it down while you follow.",
    "Drop the keg on the lava three cells upstream of the blast block: it explodes where the fuse ends.",
    "Set the bomb on the sunk barrier, then take the box off the plate: the rising barrier sets it off.",
    "Baffle and fire, key and box, ball and door on three floors.",
    "Lever, deflected rain, torch down a shaft, keg, and a long ball push.",
    "A keg bursts the dam; the water lifts a float that sets off a bomb between two blast blocks.",
    "Set the keg on the burner, light it, then bring the key down past a box without cornering it; a ball rides the lava to its box.",
    "Boxes pushed along the ice set off the bomb; a keg on the lava takes the blast block.",
    "The lava carries a key to its lock and a torch, lit on the way, into a keg.",
    "Clear the box from the slow keg's route first, then light it and run it round two corners.",
    "Three plates: box, keg and bomb, and the bomb must stop short of the keg; then a key room.",
    "Lever and keg, a remotely set-off bomb, a ball for the door.",
    "Two torches, a river for the key, and two boxed balls on the ice.",
    "Bring two plugs to two drains so the water reaches the fire; a ball for the door.",
    "A keg's blast shoves a boxed ball out of the corridor; a key behind a box; the lava's ball.",
    "Drop a keg on the lava at the right place; race a slow keg's fuse to a barrier; a ball for the door.",
    "Plug the channel: the water lifts a float and its bomb into two blast blocks.",
    "Beat the spout to the fire, then two boxes onto plates and a ball for the door.",
    "Remote detonation, a torch the lava lights, and a key on the ice.",
    "A float lifts the key into its lock, then drifts down the stairwell; boxes on ice set off a bomb.",
    "A slow keg run, a keg on the lava, and the bomb on the barrier.",
]
