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
##r     ####
############
""", "R" + "." * 120 + "LLLLLLLL.")

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
################
#########+######
#>           ###
#        @   ###
#  @         HX#
#            ###
#            ###
###+############
################
""", "DDD" + "R" * 8 + "UUU" + "L" * 6 + "DDDD" + "UU" + "R" * 11, floor="""
................
................
..iiiiiiiiiii...
..iiiiiiiiiii...
..iiiiiiiiiii...
..iiiiiiiiiii...
..iiiiiiiiiii...
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

L("Three Gates", """
##################
#>   #     #     #
#  B #  k  #  o  #
#    H     L     #
#+####     #  B  #
################D#
##################
""", "RRRDLLULDD" + "RRRRR" + "UURRDLDRRR" + "." * 10 + "RR" + "UURRDDRRD" + "D" * 20 + ".")

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
#  =(           ##
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
