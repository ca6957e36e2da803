Oc s”ý
Static s”ý
Sub#Ÿ0u
Static s”ý
Static s”ý
Sub#Ÿ