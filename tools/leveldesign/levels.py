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
""", "RRRRRRDDR")

L("A Ball for the Box", """
###########
#>        #
#    o    #
#    B    #
#######D###
###########
""", "RRRRDRRD............D.")

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
""", "RRRRDLDRR.........RR")

L("Pressure Plate", """
###########
#>        #
#  B    + #
######H####
######X####
###########
""", "RDRRRRRLDD.")

L("Lever and Burner", """
#############
#############
#/>  r B    #
#########  X#
#############
""", "LRR.R.....RRRRRDR",
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
""", "RRRRRD.........................RRRR")

L("Carry the Flame", """
###########
#####  ####
#>  tt F###
#####%g####
#####X#####
###########
""", "RRRR...RURDLD....................DD.")

L("Powder Trail", """
##############
#>  g  F######
# #####g######
# #####g######
# #####g######
#      %X#####
##############
""", ("RRRRR..........................LLLLDDDDRRRRR................"
      "........................................RR"))

L("Blast Block", """
#############
#############
#/>   g  $ X#
#############
""", "LRRRRR.............................RRRRR",
  floor="""
.............
.............
........u....
""")

L("Water on Fire", """
############
#######S####
###  kL ####
### ########
#>  F    X##
############
""", "RRUURRLLDD.......................RRRRRR")

L("Plug the Drain", """
##############
##S##>########
## ##p########
##        F X#
#####O########
##############
""", "DDRRRR...........................................RRR")

L("Pipe and Baffle", """
##########
###S######
###|######
## (   >##
### O#####
#X F######
##########
""", "LLLLD.......DLL.")

L("The Spout", """
##########
####V#####
####%#####
#> gF   X#
##########
""", ("RR....................................................R...RR"
      "RRR"))

L("Rising Float", """
############
########S###
#XL    >)  #
##k#####|###
## #####|###
##r      ###
############
""", ("RLLLLL......................................................"
      "....................................................LL."))

L("Lava Flow", """
###########
#>     HX##
###  B  ###
#+~~~~~~~~#
###########
""", "RRRRRDLLULDRRRR...........UR")

L("Bombs Away", """
###########
#>    #####
# !B  %  X#
#     #####
###########
""", "RRDULLDRRRRUDRRRRR")

L("Slick Floor", """
############
#>  @@@    #
####### o B#
#########D##
############
""", "RRRRRRDRR...............D.", floor="""
............
.iiiiiiiiii.
""")

L("Slow Fuse", """
##############
##############
#/>c      %X##
##############
""", ("L....RRRRRR...............................................RR"
      "RR"), floor="""
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
""", "RRDRRRRURDRR..............R")

L("The Key on the River", """
##############
#>           #
#  # k  +  B #
## ###H#######
#XL~~~~~~~~~~#
##############
""", ("RRRDRURRRRRRRDLLLULLLDDULLULLDD............................D"
      "L."))

L("Light Before You Move", """
##############
#/>  #########
# t  #########
#    g$   X###
##############
""", "L....DLDRRRUR.......................DRRRRRR", floor="""
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
""", ("LLLL................................................RRR....."
      "............................................................"
      "............................................................"
      "....U"))

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
""", ("RRRRRRRDRRRRRRDDLLLLDLLLLULDRRRRRRRRRUUULLLLLLLLLLLULLDDDD.."
      "....DD."))

L("Bomb Alley", """
##############
#>     #######
# !    #######
#   B  $ HX###
####+#########
##############
""", "DRRRRURDDLLD..RRRRRR")

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
""", "RRDRRRDLULLDDDRDDLLURRRRRRRR..........................RRRRR", floor="""
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
""", "RDDRRDRUUURDDRRRRURDDLDRUUURR", floor="""
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
""", "LLLRRRRRRRRRRRRRDDLLLLLLLLLLLLLLL.", floor="""
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
""", "RRRRR...RURDDLDRRRRR..........................RRRRR")

L("The Key Holds the Gate", """
################
#  B   >########
##+kH   L     ##
########### ####
#D   B    o   ##
#             ##
################
""", "LLLLLD.RRRRR.........RRRRDDLLLLLDLLLLL..........U")

L("Downstream Fuse", """
################
####         <##
#X  $   g  g   #
#~~~~~~~~~~~~~~#
################
""", "LLLLDLULDLL........................LLLL.")

L("Remote Detonation", """
##############
#>     #######
#  B ! H   ###
# +   #$######
#######X######
##############
""", "RRDRDLRURRLLLDLRRRUURDRDD.")

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
""", ("LLLLLLLLLLDDL..........DDDDRRULLULLDRRRRR.........RRRRRRRRDD"
      "DLLLLDLLLLLDLLLLLU.........U"))

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
#               ##
#  B          o D#
#               ##
##################
""", ("LURRDDDDRRRRRRDDLLLLLLLURRRRRRRRRDR........................R"
      "DDRRDLLLLLLLLLLLRRRRRRRRRRR.....R"),
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
""", ("LLL...L..........................RRRRRRRRDDLLLLLLL.........."
      "....................................LLLLLDLLD............D."))

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
""", ("LRRRRRRURRDLLLRRRRRURRDLLLLL...............LLULDDDDRDDLRUULD"
      "D........DDRRRRRRDURRRR....................................."
      "...........................................D."),
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
####            ##
#X  $   g  g    ##
#~~~~~~~~~~~~~~~##
##################
""", "RRRRRRRRRRR...RDDLLDLULDLL........................LLLL.", floor="""
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
""", ("RRRRRDLULDULLD..................DDDRRRRRRRRDLLLLLLULDLL....."
      "......................DD."))

L("Slow Relay", """
##################
#            #####
#/>c         #####
############  ####
########### B ####
############  ####
#X%           ####
##################
""", ("L....RRRRRRRRURRDDRDLUUULLDRURDDDDRDLLLLLLLLL............LLL"
      "L."),
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
""", ("RRRDLULDDUURRRRRRDRRURDDUULLLLLLDRRURDDRRRRDRRDDDLLLDLLLLLLL"
      "........LL."))

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
""", ("LRRRRRRURRDLLLUL........................DDDDLLLDRDLRURRLLLDL"
      "RRRUURDRDDDLLLDRRRRRLLLLLLLL........U"), floor="""
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
""", ("RRRR...RURDLD....................DD.DRRRRRRRRRRDLLLLLULDULLL"
      "LLLLD................................................DDDRDRR"
      "RRDRUUDRRURRRR"), floor="""
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
..iiiiiiiii+......
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
""", ("RRRRRDDLLLRRRUULLLLDDRRRRUURRRDDLLRRUULLLDDRRR.............."
      "......................RRRRDDLLLDLLLLLLLLDLLLL...........U"))

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
########o####### #
##B~~~~~~#D      #
##################
""", ("LRDRRRRU........................RRRRRRDDDLDURRDLLLL........L"
      "LLLLLLLDDDRRRRRRDURRRRRRRRDDLLLLL..........................."
      "..............L."), floor="""
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
""", ("LLLLLULDLULL........................LLLDDDRRRRRRRRRRRRLLLLLL"
      "LLLLLLDDRRRRRRRRRRRRRDDLLLDLLLLLLLDLLLLU..........U"), floor="""
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
""", ("LLLUUULLLLLLRRRRRRDDDL................................LLLLLD"
      "DDRRRRRRRDLLLLLLLLLRRRRRRRRRRRDD..D."))

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
## B      o #   ##
#D              ##
##################
""", ("RRRRR...RURDDLDRRRRR..........................RRRRRDDLLLLLLL"
      "LLLDLLULDRRRRRRRRRRURDRRDDLDLLULLLLLLLDLL............L."))

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
""", ("RRDRDLRURRLLLDLRRRUURDRDDDRRRDLLLLLLULDLL..................."
      "........DDDRRRRRRDRRRRDRULUR.........RR"), floor="""
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
""", ("LLLL........................................................"
      "..........................................................LL"
      "LLDDDDDDRRRRRRRRR..RR.RRRUU"), floor="""
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
""", ("L....RRRRRRR..............................................RR"
      "RRRDDDDLLLLULDLULL........................LLLDDDRRDLULDRRRRL"
      "LLLLDRRURRDLLURRRRDD."), floor="""
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
    "The baffle under the pipe's mouth turns the stream aside into a drain; push it out of the way and the water falls on the fire.",
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
    "Light the slow keg, clear the box from its route and run it round two corners before the fuse burns down.",
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
