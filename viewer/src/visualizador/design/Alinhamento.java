package visualizador.design;

public enum Alinhamento { ESQUERDA, DIREITA, CENTRO }
